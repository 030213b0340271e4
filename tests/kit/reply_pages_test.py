#!/usr/bin/env python3
"""The reply files a, c and s as the program sends them: complete HTTP responses whose pages
are valid HTML, load nothing from elsewhere and fit a phone. Also the generator's refusals.

    reply_pages_test.py REPLY_DIR GENERATOR TEMPLATE
"""
import html.parser
import os
import subprocess
import sys
import tempfile
import unittest

REPLY_DIR, GENERATOR, TEMPLATE = sys.argv[1:4]

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source",
        "track", "wbr"}
KNOWN = VOID | {"html", "head", "body", "title", "style", "script", "header", "main", "footer",
                "section", "h1", "h2", "p", "a", "form", "div", "label", "select", "option",
                "button", "output", "code", "b", "span", "svg", "path", "progress"}
# Elements that would make the browser fetch something.
LOADING = {"script": "src", "img": "src", "iframe": "src", "audio": "src", "video": "src",
           "source": "src", "embed": "src", "object": "data", "link": "href"}


class PageChecker(html.parser.HTMLParser):
    """Collects what the checks look at and the faults of structure it meets."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.faults, self.stack, self.ids, self.label_fors = [], [], {}, []
        self.doctype, self.counts, self.metas, self.loads, self.texts = None, {}, [], [], []

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        names = [name for name, _ in attrs]
        values = dict(attrs)
        if tag not in KNOWN:
            self.faults.append("unknown element <%s>" % tag)
        if len(names) != len(set(names)):
            self.faults.append("<%s> repeats an attribute" % tag)
        self.counts[tag] = self.counts.get(tag, 0) + 1
        if "id" in values:
            if values["id"] in self.ids:
                self.faults.append("id %s twice" % values["id"])
            self.ids[values["id"]] = tag
        if tag == "label" and "for" in values:
            self.label_fors.append(values["for"])
        if tag == "meta":
            self.metas.append(values)
        if tag in LOADING and values.get(LOADING[tag]) is not None:
            self.loads.append((tag, values[LOADING[tag]], values.get("rel")))
        if tag not in VOID:
            self.stack.append(tag)

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.faults.append("<%s/> is not a void element" % tag)
            self.stack.pop()

    def handle_endtag(self, tag):
        if tag in VOID:
            self.faults.append("end tag of void element <%s>" % tag)
        elif not self.stack or self.stack[-1] != tag:
            self.faults.append("</%s> closes <%s>" % (tag, self.stack[-1] if self.stack else "nothing"))
        else:
            self.stack.pop()

    def handle_data(self, data):
        if self.stack and self.stack[-1] in ("style",) and ("url(" in data or "@import" in data):
            self.loads.append(("style", data.strip()[:60], None))
        if data.strip():
            self.texts.append(data.strip())


def read_response(name):
    with open(os.path.join(REPLY_DIR, name), "rb") as f:
        raw = f.read()
    head, _, body = raw.partition(b"\r\n\r\n")
    lines = head.decode("ascii").split("\r\n")
    headers = dict(line.split(": ", 1) for line in lines[1:])
    return lines[0], headers, body


def check_page(body):
    checker = PageChecker()
    checker.feed(body.decode("utf-8"))
    checker.close()
    return checker


class ReplyFiles(unittest.TestCase):
    def test_each_file_is_a_complete_response_with_a_valid_page(self):
        for name in ("a", "c", "s"):
            with self.subTest(file=name):
                status, headers, body = read_response(name)
                page = check_page(body)
                viewport = [m for m in page.metas if m.get("name") == "viewport"]
                print("%s: %s, Content-Length %s for a body of %d bytes, type %s" %
                      (name, status, headers.get("Content-Length"), len(body), headers.get("Content-Type")))
                print("   doctype %r, faults %s, unclosed %s, loads %s, viewport %s" %
                      (page.doctype, page.faults, page.stack, page.loads, viewport))
                self.assertEqual(status, "HTTP/1.1 200 OK")
                self.assertEqual(headers.get("Content-Length"), str(len(body)))
                self.assertEqual(headers.get("Content-Type"), "text/html; charset=utf-8")
                self.assertEqual(headers.get("Connection"), "close")
                # The marker by which the control page tells which reply file answered.
                self.assertEqual(headers.get("X-Reply-File"), name)
                self.assertEqual(page.doctype, "DOCTYPE html")
                self.assertEqual(page.faults, [])
                self.assertEqual(page.stack, [])
                for single in ("html", "head", "body", "title", "main"):
                    self.assertEqual(page.counts.get(single), 1, single)
                self.assertEqual([f for f in page.label_fors if f not in page.ids], [], "labels without field")
                # Nothing from elsewhere: the only link element is the empty inline icon.
                self.assertEqual(page.loads, [("link", "data:,", "icon")])
                self.assertEqual(len(viewport), 1)
                self.assertIn("width=device-width", viewport[0].get("content", ""))

    def test_pages_carry_their_own_controls(self):
        # Which elements each page has: the control page has the move, jog and job controls;
        # the page after a move and the status page, which answer every line of a job, have
        # none and stay small.
        controls = ["x", "y", "delay", "move", "step-size", "jog-xp", "jog-xm", "jog-yp", "jog-ym", "stop",
                    "tool-on", "tool-off", "job-file", "job-preview", "job-run", "job-pause", "job-stop",
                    "job-restart-line", "job-restart", "job-progress", "job-status", "steps-per-mm-x",
                    "steps-per-mm-y", "set-zero", "go-zero"]
        shown = ["target-x", "target-y", "state", "view-link"]
        for name, has_controls, state in (("a", True, "Ready."), ("s", False, "Line done"),
                                          ("c", False, "The server is answering")):
            with self.subTest(file=name):
                body = read_response(name)[2]
                page = check_page(body)
                present = [i for i in controls if i in page.ids]
                print("%s: %d bytes, controls %s; state text %r" %
                      (name, len(body), present, [t for t in page.texts if t.startswith(state[:8])]))
                self.assertEqual(present, controls if has_controls else [])
                self.assertEqual([i for i in shown if i not in page.ids], [])
                self.assertTrue(any(t.startswith(state) for t in page.texts), state)
                if has_controls:
                    self.assertEqual((page.ids["job-progress"], page.ids["job-restart-line"]), ("progress", "input"))
                else:
                    self.assertLess(len(body), 16384, "a reply to every line of a job")


class Generator(unittest.TestCase):
    def run_generator(self, template_text, modules=None):
        with tempfile.TemporaryDirectory() as folder:
            template = os.path.join(folder, "page.html")
            with open(template, "w", encoding="utf-8") as f:
                f.write(template_text)
            for name, source in (modules or {}).items():
                with open(os.path.join(folder, name), "w", encoding="utf-8") as f:
                    f.write(source)
            result = subprocess.run([sys.executable, GENERATOR, template, os.path.join(folder, "out")],
                                    capture_output=True, text=True, timeout=30)
            out = os.path.join(folder, "out")
            made = sorted(os.listdir(out)) if os.path.isdir(out) else []
            self.made = {}
            for name in made:
                with open(os.path.join(out, name), encoding="utf-8") as f:
                    self.made[name] = f.read()
            return result.returncode, result.stderr.strip(), made

    def test_refuses_a_broken_template(self):
        cases = [
            ("<!--#if q-->x<!--#endif-->", "unknown page q"),
            ("<!--#if a-->never closed", "unclosed or nested"),
            ("{{colour}}", "no value for {{colour}}"),
            ("<!--#script missing.js-->", "no module missing.js"),
        ]
        for template, said in cases:
            with self.subTest(template=template):
                code, error, made = self.run_generator(template)
                print("%-30r exit %d: %s; files made %s" % (template, code, error, made))
                self.assertEqual(code, 1)
                self.assertIn(said, error)
                self.assertEqual([m for m in made if not m.endswith(".new")], [])

    def test_inlines_modules_in_scopes_of_their_own_and_refuses_forms_it_cannot(self):
        modules = {
            "main.js": "import { twice, NAME as name } from './lib.js';\nexport const shown = twice(2) + name;\n"
                       "document.title = String(shown) + typeof hidden;\n",
            "lib.js": "const hidden = 2;\nexport const NAME = 'x';\nexport function twice(v) { return v * hidden; }\n",
        }
        code, error, made = self.run_generator("<!--#script main.js-->", modules)
        print("two modules: exit %d %s; %s" % (code, error, made))
        self.assertEqual((code, made), (0, ["a", "c", "s"]))
        script = self.made["a"].split("<script>\n", 1)[1].split("\n</script>", 1)[0]
        # The script as a browser would run it: node runs it with a stand-in document.
        result = subprocess.run(["node", "-e", "const document = {};\n" + script + "\nconsole.log(document.title)"],
                                capture_output=True, text=True, timeout=30)
        print("run by node: %r %r" % (result.stdout, result.stderr[-200:]))
        # lib.js's own names stay in its scope.
        self.assertEqual(result.stdout.strip(), "4xundefined")
        for source, said in (("export default 3;\n", "does not understand"),
                             ("import x from './lib.js';\n", "does not understand"),
                             ("const s = '</script>';\n", "holds"),
                             ("import { a } from './main.js';\n", "import each other")):
            with self.subTest(source=source):
                code, error, made = self.run_generator("<!--#script main.js-->", {"main.js": source, "lib.js": ""})
                print("%-40r exit %d: %s" % (source, code, error))
                self.assertEqual(code, 1)
                self.assertIn(said, error)

    def test_keeps_each_pages_blocks_and_counts_bytes_not_characters(self):
        with tempfile.TemporaryDirectory() as folder:
            template = os.path.join(folder, "page.html")
            with open(template, "w", encoding="utf-8") as f:
                f.write("<p>{{page}} <!--#if a c-->ă<!--#endif--><!--#if s-->ş<!--#endif--></p>\n")
            subprocess.run([sys.executable, GENERATOR, template, folder, "--view-port", "9000"],
                           check=True, timeout=30)
            for name, body in (("a", "<p>a ă</p>\n"), ("c", "<p>c ă</p>\n"), ("s", "<p>s ş</p>\n")):
                with open(os.path.join(folder, name), "rb") as f:
                    raw = f.read()
                print("%s: %r" % (name, raw[-40:]))
                self.assertTrue(raw.endswith(body.encode("utf-8")))
                self.assertIn(b"Content-Length: %d\r\n" % len(body.encode("utf-8")), raw)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)

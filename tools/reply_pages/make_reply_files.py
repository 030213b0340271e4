#!/usr/bin/env python3
"""Makes the reply files a, c and s from one page template.

    make_reply_files.py TEMPLATE OUT_DIR [--view-port PORT]

Each file is a complete HTTP/1.1 response, as the program sends a reply file's bytes as they
are and closes the connection: status line, headers with the body's exact Content-Length,
and the page. In the template,
    <!--#if a s--> ... <!--#endif-->   keeps its content for the pages named only;
    <!--#note ... -->                  is dropped;
    <!--#script page.js-->             becomes one inline script holding the module page.js and
                                       the modules it imports (from the template's folder);
    {{page}} {{view_port}}             are filled in.
The headers carry the marker "X-Reply-File: a" (c, s): the page tells by it which file answered.
"""
import argparse
import os
import re
import sys

PAGES = ("a", "c", "s")
BLOCK = re.compile(r"<!--#if ([a-z ]+)-->(.*?)<!--#endif-->", re.S)
NOTE = re.compile(r"<!--#note.*?-->\n?", re.S)
VALUE = re.compile(r"\{\{([a-z_]+)\}\}")
SCRIPT = re.compile(r"<!--#script ([a-z_]+\.js)-->")
# The module forms the inliner understands; any other import or export is refused.
IMPORT = re.compile(r"^import \{([^}]*)\} from '\./([a-z_]+\.js)';\n", re.M)
EXPORT = re.compile(r"^export (?:async function|function|const|let|class) ([A-Za-z_$][\w$]*)", re.M)
MODULE_WORD = re.compile(r"^(?:import|export)\b", re.M)


def bundle(folder, entry):
    """One script holding the module `entry` and every module it imports, each in a scope of
    its own, its imports read from the modules before it. Raises ValueError on a module form
    it does not understand, an import cycle, or text that would end the inline script."""
    order, seen = [], set()

    def visit(name, chain):
        if name in chain:
            raise ValueError("the modules import each other: %s" % " -> ".join(chain + [name]))
        if name in seen:
            return
        path = os.path.join(folder, name)
        if not os.path.isfile(path):
            raise ValueError("no module %s" % name)
        with open(path, encoding="utf-8") as f:
            source = f.read()
        for _, dependency in IMPORT.findall(source):
            visit(dependency, chain + [name])
        seen.add(name)
        order.append((name, source))

    visit(entry, [])
    parts = ["(function () {\n'use strict';\nconst modules = {};"]
    for name, source in order:
        if re.search(r"</script", source, re.I):
            raise ValueError("%s holds \"</script\"" % name)

        def imported(match):
            names = ", ".join(n.strip().replace(" as ", ": ") for n in match.group(1).split(",") if n.strip())
            return "const { %s } = modules['%s'];\n" % (names, match.group(2))

        body = IMPORT.sub(imported, source)
        exported = EXPORT.findall(body)
        body = EXPORT.sub(lambda m: m.group(0)[len("export "):], body)
        if MODULE_WORD.search(body):
            raise ValueError("%s: an import or export the inliner does not understand" % name)
        parts.append("modules['%s'] = (() => {\n%s\nreturn { %s };\n})();" % (name, body.rstrip(), ", ".join(exported)))
    parts.append("})();")
    return "\n".join(parts)


def render(template, page, values, folder="."):
    """The page's HTML text; raises ValueError on a marker or value the template cannot have.
    Modules named by a script marker are read from folder."""
    text = NOTE.sub("", template)

    def keep(match):
        pages = match.group(1).split()
        unknown = [p for p in pages if p not in PAGES]
        if unknown:
            raise ValueError("unknown page %s in a block" % unknown[0])
        return match.group(2) if page in pages else ""

    text = BLOCK.sub(keep, text)
    scripts = SCRIPT.findall(text)
    text = SCRIPT.sub("\0script\0", text)
    if "<!--#" in text:
        raise ValueError("an unclosed or nested block marker")

    def fill(match):
        name = match.group(1)
        if name not in values:
            raise ValueError("no value for {{%s}}" % name)
        return values[name]

    text = VALUE.sub(fill, text)
    # Blocks of other pages leave empty lines behind.
    text = "".join(line for line in text.splitlines(True) if line.strip())
    for name in scripts:
        text = text.replace("\0script\0", "<script>\n%s\n</script>" % bundle(folder, name), 1)
    return text


def response(body, page):
    """The whole HTTP response for an HTML body (bytes) of the page a, c or s."""
    head = ("HTTP/1.1 200 OK\r\n"
            "Content-Type: text/html; charset=utf-8\r\n"
            "Content-Length: %d\r\n"
            "Cache-Control: no-store\r\n"
            "X-Reply-File: %s\r\n"
            "Connection: close\r\n"
            "\r\n") % (len(body), page)
    return head.encode("ascii") + body


def main(argv):
    parser = argparse.ArgumentParser(description="Make the reply files a, c and s.")
    parser.add_argument("template")
    parser.add_argument("out_dir")
    parser.add_argument("--view-port", type=int, default=8070,
                        help="port of the simulator's live view the pages link to")
    args = parser.parse_args(argv)
    if not 0 < args.view_port < 65536:
        parser.error("--view-port must be 1 to 65535")
    with open(args.template, encoding="utf-8") as f:
        template = f.read()
    os.makedirs(args.out_dir, exist_ok=True)
    for page in PAGES:
        try:
            html = render(template, page, {"page": page, "view_port": str(args.view_port)},
                          os.path.dirname(os.path.abspath(args.template)))
        except ValueError as error:
            print("make_reply_files: %s: %s" % (args.template, error), file=sys.stderr)
            return 1
        path = os.path.join(args.out_dir, page)
        # Written whole and then renamed, so the program never reads half a file.
        with open(path + ".new", "wb") as f:
            f.write(response(html.encode("utf-8"), page))
        os.replace(path + ".new", path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

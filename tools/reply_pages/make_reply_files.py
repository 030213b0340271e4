#!/usr/bin/env python3
"""Makes the reply files a, c and s from one page template.

    make_reply_files.py TEMPLATE OUT_DIR [--view-port PORT]

Each file is a complete HTTP/1.1 response, as the program sends a reply file's bytes as they
are and closes the connection: status line, headers with the body's exact Content-Length,
and the page. In the template,
    <!--#if a s--> ... <!--#endif-->   keeps its content for the pages named only;
    <!--#note ... -->                  is dropped;
    {{page}} {{view_port}}             are filled in.
"""
import argparse
import os
import re
import sys

PAGES = ("a", "c", "s")
BLOCK = re.compile(r"<!--#if ([a-z ]+)-->(.*?)<!--#endif-->", re.S)
NOTE = re.compile(r"<!--#note.*?-->\n?", re.S)
VALUE = re.compile(r"\{\{([a-z_]+)\}\}")


def render(template, page, values):
    """The page's HTML text; raises ValueError on a marker or value the template cannot have."""
    text = NOTE.sub("", template)

    def keep(match):
        pages = match.group(1).split()
        unknown = [p for p in pages if p not in PAGES]
        if unknown:
            raise ValueError("unknown page %s in a block" % unknown[0])
        return match.group(2) if page in pages else ""

    text = BLOCK.sub(keep, text)
    if "<!--#" in text:
        raise ValueError("an unclosed or nested block marker")

    def fill(match):
        name = match.group(1)
        if name not in values:
            raise ValueError("no value for {{%s}}" % name)
        return values[name]

    text = VALUE.sub(fill, text)
    # Blocks of other pages leave empty lines behind.
    return "".join(line for line in text.splitlines(True) if line.strip())


def response(body):
    """The whole HTTP response for an HTML body (bytes)."""
    head = ("HTTP/1.1 200 OK\r\n"
            "Content-Type: text/html; charset=utf-8\r\n"
            "Content-Length: %d\r\n"
            "Cache-Control: no-store\r\n"
            "Connection: close\r\n"
            "\r\n") % len(body)
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
            html = render(template, page, {"page": page, "view_port": str(args.view_port)})
        except ValueError as error:
            print("make_reply_files: %s: %s" % (args.template, error), file=sys.stderr)
            return 1
        path = os.path.join(args.out_dir, page)
        # Written whole and then renamed, so the program never reads half a file.
        with open(path + ".new", "wb") as f:
            f.write(response(html.encode("utf-8")))
        os.replace(path + ".new", path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))

"""Checks a book exported as HTML against the pages the program composes.

usage: check_html.py BOOK.html EXPECTED.json
EXPECTED.json: a list of [collection digit, entry name, page text with "\n" line breaks].
The document must parse, hold every expected entry exactly once (in the part of its collection)
with exactly that page, link only to anchors it holds, and hold no script and nothing from
elsewhere. Prints each problem and exits 1 when there is one.
"""
import json
import sys
from html.parser import HTMLParser

FETCHING = {"script", "link", "img", "iframe", "object", "embed", "source", "audio", "video",
            "base", "frame", "picture", "track"}


class Book(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.problems = []
        self.ids = []
        self.hrefs = []
        self.articles = []  # [collection id, article id, name, page]
        self.collection = None
        self.open = []
        self.capture = None  # "name" or "page" while inside h4 / div.page of an article
        self.style = ""
        self.in_style = False
        self.meta = set()

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag not in ("meta", "br"):
            self.open.append(tag)
        if tag in FETCHING:
            self.problems.append(f"<{tag}> fetches or runs something")
        for key, value in attrs:
            if key.startswith("on"):
                self.problems.append(f"<{tag} {key}> is a script")
            if key in ("src", "srcset", "data", "action", "formaction"):
                self.problems.append(f"<{tag} {key}={value}> refers elsewhere")
        if "id" in a:
            self.ids.append(a["id"])
        if tag == "a" and "href" in a:
            self.hrefs.append(a["href"])
        if tag == "meta":
            self.meta.add(a.get("charset", "").lower() or a.get("name", ""))
        if tag == "style":
            self.in_style = True
        if tag == "section" and "collection" in a.get("class", ""):
            self.collection = a.get("id")
        if tag == "article":
            self.articles.append([self.collection, a.get("id"), "", ""])
        if self.articles and "article" in self.open:
            if tag == "h4":
                self.capture = "name"
            elif tag == "div" and a.get("class") == "page":
                self.capture = "page"

    def handle_endtag(self, tag):
        if tag in ("h4", "div"):
            self.capture = None
        if tag == "style":
            self.in_style = False
        if self.open and self.open[-1] == tag:
            self.open.pop()
        else:
            self.problems.append(f"</{tag}> closes {self.open[-1:] or 'nothing'}")

    def handle_data(self, data):
        if self.in_style:
            self.style += data
        if self.capture == "name":
            self.articles[-1][2] += data
        elif self.capture == "page":
            self.articles[-1][3] += data


def main():
    html_file, expected_file = sys.argv[1], sys.argv[2]
    with open(html_file, encoding="utf-8") as f:
        text = f.read()
    with open(expected_file, encoding="utf-8") as f:
        expected = json.load(f)
    book = Book()
    book.feed(text)
    book.close()
    problems = book.problems
    if book.open:
        problems.append(f"left open: {book.open}")
    if "utf-8" not in book.meta or "viewport" not in book.meta:
        problems.append("no <meta charset=utf-8> or no viewport")
    if "@media print" not in book.style:
        problems.append("no print style sheet")
    if "url(" in book.style or "@import" in book.style:
        problems.append("the style sheet fetches something")
    ids = set(book.ids)
    if len(ids) != len(book.ids):
        problems.append("an id is used twice")
    for href in book.hrefs:
        if not href.startswith("#") or href[1:] not in ids:
            problems.append(f"link {href!r} leads nowhere in the document")
    linked = {href[1:] for href in book.hrefs}
    for _, article_id, name, _ in book.articles:
        if article_id not in linked:
            problems.append(f"the contents do not link to {name!r}")
    found = {}
    for collection, article_id, name, page in book.articles:
        key = (collection, name)
        if key in found:
            problems.append(f"{key} appears twice")
        found[key] = page
    wanted = {("c" + digit, name): page for digit, name, page in expected}
    for key, page in wanted.items():
        if key not in found:
            problems.append(f"{key} is missing")
        elif found[key] != page:
            problems.append(f"{key}: page {found[key]!r} != {page!r}")
    for key in found.keys() - wanted.keys():
        problems.append(f"{key} is not an entry of the book")
    for p in problems[:20]:
        print(p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())

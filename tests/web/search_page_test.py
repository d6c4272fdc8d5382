#!/usr/bin/env python3
"""The search page in headless Chromium, over web indexes the command line
generates: the sample site crawled from 127.0.0.1, and a generated
WorkSpace whose every answer a model computes.

    search_page_test.py CLI SITE_DIR [--screenshot PNG]

--screenshot also saves a results page (the README's picture).
"""
import argparse
import os
import random
import shutil
import sqlite3
import subprocess
import sys
import tempfile
import traceback
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import browser  # noqa: E402

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print(f"FAIL: {what}", file=sys.stderr)


def cli(*args):
    return subprocess.run([ARGS.cli, *args], capture_output=True, text=True, check=True).stdout


def crawl_sample_site(ws):
    site = browser.FolderServer(ARGS.site)
    try:
        cli("-w", ws, "init")
        cli("-w", ws, "add-url", site.url + "index.htm", "--depth", "3")
        cli("-w", ws, "crawl")
    finally:
        site.close()
    return site.url


def page_results(b):
    return b.run("""return [...document.querySelectorAll('#results li')].map(li => {
        const a = li.querySelector('a');
        return [li.querySelector('.title').textContent, li.querySelector('.url').textContent,
                a ? a.getAttribute('href') : null];
    })""")


def status(b):
    return b.run("return document.getElementById('status').textContent")


def search(b, server, query, mode="all", partial=False):
    params = {"q": query, "mode": mode}
    if partial:
        params["partial"] = "1"
    b.open(server.url + "search.html?" + urllib.parse.urlencode(params))
    return b.wait_search()


# Queries over the sample site whose documents were read off its pages by
# hand: the URL remainders after the site's address, most occurrences first.
SAMPLE_QUERIES = [
    # accented, typed as the page writes it; the index holds CREME
    ("crème", "all", False, ["kitchen/dessert.htm", "index.htm", "kitchen/index.htm",
                             "kitchen/soup.htm", "kitchen/bread.htm"]),
    # upper case and a combining accent fold the same way
    ("CRE\u0300ME", "all", False, ["kitchen/dessert.htm", "index.htm", "kitchen/index.htm",
                                   "kitchen/soup.htm", "kitchen/bread.htm"]),
    # SEED, SEEDS, SEEDLINGS
    ("seed", "all", True, ["index.htm", "news/spring.htm", "notes.txt",
                           "garden/beds/index.htm", "kitchen/soup.htm"]),
    # exact: SEED alone
    ("seed", "all", False, ["index.htm", "notes.txt", "news/spring.htm"]),
    ("bread, crème", "all", False, ["kitchen/index.htm", "kitchen/bread.htm"]),
    # Ñ and ß are kept, in the groups of other initials and of S
    ("jalapeño STRASSE straße", "any", False, ["kitchen/market.htm", "kitchen/index.htm"]),
    ("compost crème", "all", False, []),
    # one-letter words are not indexed, and so not searched
    ("a bread", "all", False, ["kitchen/index.htm", "kitchen/bread.htm"]),
]


def sample_site_tests(b, ws, site_url):
    # A description with mark-up, and a document whose URL is no web link.
    db = sqlite3.connect(os.path.join(ws, "lexmine.mdb"))
    (contact,), = db.execute("select DocID from Docs where URLDocument = ?",
                             (site_url + "contact.htm",))
    cli("-w", ws, "edit", str(contact), "--description",
        '<img src=x onerror="document.body.dataset.hit=1"><script>document.body.dataset.hit=1'
        "</script>")
    with db:
        db.execute("insert into Docs (URLDocument, URLDescription, URLLevel, URLParent, nStatus)"
                   " values ('javascript:document.body.dataset.hit=1', 'Run me', 1, 0, 1)")
        db.execute("insert into WordsDocs select last_insert_rowid(), WordID, 1 from Words"
                   " where Word = 'ZOE'")
    db.close()
    out = cli("-w", ws, "webindex", "--yes")
    check(out.startswith("documents\t27\n"), f"webindex output {out[:40]!r}")
    for name in ("search.html", "search.js", "search.css"):
        check(os.path.isfile(os.path.join(ws, name)), f"the web index command copied {name}")

    for ranges in (True, False):
        server = browser.FolderServer(ws, ranges=ranges)
        try:
            for query, mode, partial, expected in SAMPLE_QUERIES:
                what = f"{query!r} {mode} partial={partial} ranges={ranges}"
                check(search(b, server, query, mode, partial) == "done", what + " ends done")
                got = [url.removeprefix(site_url) for _, url, _ in page_results(b)]
                check(got == expected, f"{what}: {got}")
                if not expected:
                    check(status(b).startswith("Nothing matched"), f"{what}: {status(b)!r}")
            group_reads = [r for r in server.requests if r[0].startswith("/ftsindex")]
            check(group_reads and all(r[2] == (206 if ranges else 200) for r in group_reads),
                  f"index files read {'in ranges' if ranges else 'whole'}: {group_reads}")
        finally:
            server.close()

    server = browser.FolderServer(ws)
    try:
        # Safe insertion: the description is text and the javascript: URL no link.
        search(b, server, "reach zoe", "any")
        rows = {url.removeprefix(site_url): (title, href) for title, url, href in page_results(b)}
        check(rows.get("contact.htm", ("",))[0].startswith("<img src=x onerror="),
              f"description shown as text: {rows}")
        check(rows.get("javascript:document.body.dataset.hit=1") == ("Run me", None),
              f"a javascript: URL is not a link: {rows}")
        check(b.run("return document.querySelectorAll('#results img, #results script').length")
              == 0, "no element from a description")
        check(b.run("return document.body.dataset.hit") is None, "no script from the index ran")

        # The keyboard: type, Enter; the address follows; Tab reaches the links.
        b.open(server.url + "search.html")
        box = b.element("#q")
        check(b.active() == box, "the search box has the focus at start")
        b.type(box, "crème" + browser.ENTER)
        b.wait_search()
        check(b.run("return location.search") == "?q=cr%C3%A8me&mode=all",
              f"the address holds the query: {b.run('return location.search')}")
        check(len(page_results(b)) == 5, "typed query found its documents")
        first_link = b.element("#results a")
        for _ in range(8):
            b.type(b.active(), browser.TAB)
            if b.active() == first_link:
                break
        check(b.active() == first_link, "Tab reaches the first result")
        b.run("document.querySelector('input[value=any]').click()")
        b.run("document.getElementById('q').value = 'seed'")
        b.run("document.querySelector('#search button').click()")
        b.wait_search()
        b.run("history.back()")
        b.wait_search()
        check(b.run("return [document.getElementById('q').value, location.search]")
              == ["crème", "?q=cr%C3%A8me&mode=all"], "Back shows the earlier query")

        # The address query fills the form.
        search(b, server, "Seed compost", "any", True)
        form = b.run("""const f = document.getElementById('search').elements;
            return [f.q.value, f.mode.value, f.partial.checked]""")
        check(form == ["Seed compost", "any", True], f"the form shows the address's query: {form}")
        if ARGS.screenshot:
            b.screenshot(ARGS.screenshot)

        # On a phone's width nothing reaches past the screen.
        b.resize(360, 740)
        search(b, server, "seed", "all", True)
        widths = b.run("""const box = document.getElementById('q').getBoundingClientRect();
            return [document.documentElement.scrollWidth, innerWidth, Math.ceil(box.right)]""")
        check(widths[0] <= widths[1] and widths[2] <= widths[1], f"phone width: {widths}")
        b.resize(900, 900)
    finally:
        server.close()


# Broken files: the file, how it is changed (None: removed), the query
# (FIRST and LAST: the first and the last word of group C, whose records
# the change reaches) and the words of the message the page must show.
DAMAGE = [
    ("ftsdocs.jpg", None, "crème", "ftsdocs.jpg is missing"),
    ("ftsdocs.jpg", lambda b: b[:-3], "crème", "ftsdocs.jpg is damaged"),
    ("ftsindexC.jpg", lambda b: b[:100], "crème", "ftsindexC.jpg is damaged"),
    ("ftsindexC.jpg", lambda b: b[:30] + b"\0" + b[31:], "crème", "ftsindexC.jpg is damaged"),
    ("ftscrossC.jpg", None, "crème", "ftscrossC.jpg is missing"),
    ("ftscrossC.jpg", lambda b: b[:-6], "LAST", "ftscrossC.jpg is damaged"),
    ("ftscrossC.jpg", lambda b: b[:9] + b"\x7f" + b[10:], "FIRST", "ftscrossC.jpg is damaged"),
]


def damage_tests(b, ws):
    db = sqlite3.connect(os.path.join(ws, "lexmine.mdb"))
    first, last = db.execute("select min(Word), max(Word) from Words"
                             " where Word >= 'C' and Word < 'D'").fetchone()
    db.close()
    for name, change, query, message in DAMAGE:
        query = {"FIRST": first, "LAST": last}.get(query, query)
        broken = tempfile.mkdtemp(prefix="trawlix-damaged-")
        try:
            for f in os.listdir(ws):
                if f.endswith((".jpg", ".html", ".js", ".css")):
                    shutil.copy(os.path.join(ws, f), broken)
            path = os.path.join(broken, name)
            with open(path, "rb") as f:
                data = f.read()
            os.remove(path)
            if change:
                with open(path, "wb") as f:
                    f.write(change(data))
            for ranges in (True, False):
                server = browser.FolderServer(broken, ranges=ranges)
                try:
                    state = search(b, server, query)
                    text = status(b)
                    check(state == "error" and message in text and page_results(b) == [],
                          f"{name} broken, {query}, ranges={ranges}: {state} {text!r}")
                finally:
                    server.close()
        finally:
            shutil.rmtree(broken)


LETTERS = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_\u00d1\u00de\u00df"


def model_tests(b, ws):
    """A generated WorkSpace with some 10,000 words of one initial (more
    sample records than the page's first read holds), answered by the page
    and by a model of it."""
    rng = random.Random(28)
    cli("-w", ws, "init")
    cli("-w", ws, "webindex", "--yes")
    server = browser.FolderServer(ws)
    try:
        check(search(b, server, "apple") == "done" and
              status(b) == "The web index lists no documents.", f"empty index: {status(b)!r}")
    finally:
        server.close()

    words = set()
    for initials, count in (("M", 10100), ("B\u00d1_7", 10400)):
        while len(words) < count:
            words.add(rng.choice(initials) +
                      "".join(rng.choice(LETTERS) for _ in range(rng.randint(1, 18))))
    words = sorted(words)
    docs = 60
    occurs = {}  # word -> {document number: occurrences}
    for w in words:
        chosen = rng.sample(range(1, docs + 1), rng.randint(1, 6))
        occurs[w] = {d: rng.randint(1, 9) for d in chosen}
    db = sqlite3.connect(os.path.join(ws, "lexmine.mdb"))
    with db:
        for d in range(1, docs + 1):
            db.execute("insert into Docs (DocID, URLDocument, URLDescription, URLLevel, URLParent,"
                       " nStatus) values (?, ?, ?, 1, 0, 1)",
                       (d * 3, f"http://model.test/d{d}.htm", f"Document {d} & <b>more</b>"))
        for k, w in enumerate(words, 1):
            db.execute("insert into Words (WordID, Word, Occurrences) values (?, ?, 1)", (k, w))
            for d, n in occurs[w].items():
                db.execute("insert into WordsDocs values (?, ?, ?)", (d * 3, k, n))
    db.close()
    cli("-w", ws, "webindex", "--yes")

    def expected(query, any_word, partial):
        found = []
        for q in query:
            docs_of = {}
            for w in words:
                if w == q or (partial and w.startswith(q)):
                    for d, n in occurs[w].items():
                        docs_of[d] = docs_of.get(d, 0) + n
            found.append(docs_of)
        total = {}
        for docs_of in found:
            for d, n in docs_of.items():
                if any_word or all(d in other for other in found):
                    total[d] = total.get(d, 0) + n
        return [f"http://model.test/d{d}.htm"
                for d, _ in sorted(total.items(), key=lambda x: (-x[1], x[0]))]

    def probe():
        w = rng.choice(words)
        return rng.choice([w, w[:rng.randint(2, max(2, len(w)))], w + "Z", w[:-1] + "0",
                           "M" + rng.choice(LETTERS)])

    server = browser.FolderServer(ws)
    try:
        b.open(server.url + "search.html")
        for _ in range(60):
            query = list(dict.fromkeys(probe() for _ in range(rng.randint(1, 3))))
            any_word, partial = rng.random() < 0.5, rng.random() < 0.5
            got = b.run_async("""const [words, any, partial, done] = arguments;
                import('./search.js').then(m => new m.WebIndex(location.href)
                    .search(words, {any, partial}))
                  .then(r => done(r.map(d => d.url)), e => done('error: ' + e.message));""",
                              query, any_word, partial)
            want = expected(query, any_word, partial)
            check(got == want, f"model {query} any={any_word} partial={partial}: {got} != {want}")
        # The page folds as the indexer does: lower case finds the words.
        w = next(w for w in words if "\u00d1" in w[1:] and w.isupper())
        search(b, server, w.lower(), "all", False)
        got = [url for _, url, _ in page_results(b)]
        check(got == expected([w], False, False), f"lower-case {w.lower()}: {got}")
    finally:
        server.close()


def main():
    global ARGS
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("site")
    parser.add_argument("--screenshot")
    ARGS = parser.parse_args()
    try:
        browser.programs()
    except browser.Missing as missing:
        print(f"FAIL: {missing}", file=sys.stderr)
        return 1
    work = tempfile.mkdtemp(prefix="trawlix-searchpage-")
    b = browser.Browser()
    try:
        ws = os.path.join(work, "garden")
        site_url = crawl_sample_site(ws)
        sample_site_tests(b, ws, site_url)
        damage_tests(b, ws)
        model_tests(b, os.path.join(work, "model"))
    except Exception:
        traceback.print_exc()
        failures.append("exception")
    finally:
        b.close()
        shutil.rmtree(work, ignore_errors=True)
    print(f"{len(failures)} failures" if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Times the search page in headless Chromium over a WorkSpace's web index
(run through bench/searchpage, which makes the site and the index).

    searchpage.py WORKSPACE [--queries N] [--pagefind SITE_DIR]

For N one-word and N two-word queries (words of the index; the two words of
a two-word query share a document, so that "all words" finds something)
the page is opened with the query in its address, as a first visit: the
time to the first result from the start of navigation and from the start
of the search, and the bytes and requests of index files it fetched. Once
with range requests, once from a server that sends whole files. With
--pagefind, SITE_DIR/pagefind holding Pagefind's index of the same site,
Pagefind's search and the data of its first result are timed alike.
"""
import argparse
import os
import random
import sqlite3
import statistics
import sys
import urllib.parse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
import browser  # noqa: E402

PAGEFIND_PAGE = """<!DOCTYPE html><meta charset="utf-8"><title>Pagefind</title>
<body data-state="idle"><script type="module">
const q = new URLSearchParams(location.search).get("q");
performance.mark("search-start");
const pagefind = await import("./pagefind/pagefind.js");
const search = await pagefind.search(q);
if (search.results.length) await search.results[0].data();
performance.mark("search-results");
document.body.dataset.state = "done";
</script></body>
"""


def pick_queries(ws, n):
    rng = random.Random(2000)
    db = sqlite3.connect(os.path.join(ws, "lexmine.mdb"))
    words = [w for (w,) in db.execute("select Word from Words where length(Word) >= 3")]
    docs = [d for (d,) in db.execute("select DocID from Docs where bIndexed <> 0")]
    one = [[w] for w in rng.sample(words, n)]
    two = []
    while len(two) < n:
        held = [w for (w,) in db.execute(
            "select Word from Words join WordsDocs using (WordID) where DocID = ?"
            " and length(Word) >= 3", (rng.choice(docs),))]
        if len(held) >= 2:
            two.append(rng.sample(held, 2))
    db.close()
    return one, two


def measure(b, server, page, query, index_prefix):
    before = len(server.requests)
    b.open(server.url + page + "?" + urllib.parse.urlencode({"q": query}))
    b.wait_search()
    start, first = b.run("""const m = n => performance.getEntriesByName(n)[0].startTime;
        return [m('search-start'), m('search-results')]""")
    fetched = [r for r in server.requests[before:] if r[0].startswith(index_prefix)]
    docs = sum(r[3] for r in fetched if r[0] == "/ftsdocs.jpg")
    return first, first - start, sum(r[3] for r in fetched) - docs, docs, len(fetched)


def report(label, runs):
    first, search, size, docs, count = (statistics.median(x) for x in zip(*runs))
    print(f"{label:34} median {first:6.1f} ms to the first result ({search:5.1f} ms searching),"
          f" {count:.0f} requests, {size:7,.0f} bytes" +
          (f" + {docs:,.0f} of ftsdocs.jpg" if docs else ""))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("ws")
    parser.add_argument("--queries", type=int, default=20)
    parser.add_argument("--pagefind")
    args = parser.parse_args()
    one, two = pick_queries(args.ws, args.queries)
    b = browser.Browser()
    try:
        for ranges in (True, False):
            server = browser.FolderServer(args.ws, ranges=ranges)
            try:
                for label, queries in (("one word", one), ("two words", two)):
                    runs = [measure(b, server, "search.html", " ".join(q), "/fts")
                            for q in queries]
                    report(f"trawlix, {label}, {'ranges' if ranges else 'whole files'}:", runs)
            finally:
                server.close()
        if args.pagefind:
            with open(os.path.join(args.pagefind, "pagefind-bench.html"), "w") as f:
                f.write(PAGEFIND_PAGE)
            server = browser.FolderServer(args.pagefind)
            try:
                for label, queries in (("one word", one), ("two words", two)):
                    runs = [measure(b, server, "pagefind-bench.html", " ".join(q).lower(),
                                    "/pagefind/") for q in queries]
                    report(f"pagefind, {label}:", runs)
            finally:
                server.close()
    finally:
        b.close()


if __name__ == "__main__":
    main()

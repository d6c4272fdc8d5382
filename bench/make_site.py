#!/usr/bin/env python3
"""Writes a generated web site for the benchmarks: PAGES pages of running
text in a tree of folders several levels deep, every page linked from the
index page of its folder, with links between sibling pages, to the parent
folder, to other hosts and to mail addresses, as real sites have them.

    make_site.py DIR [--pages N] [--fanout N] [--seed N]

The text draws its words with the skewed frequencies of real prose from a
list of common words and a long tail of rarer made-up ones, so that the
index gets both very frequent and rare words. Prints one line: pages,
folders, levels.
"""
import argparse
import itertools
import os
import random

COMMON = """the of and to in is that for it as was with be by on not he this are or his
from at which but have an they you were her she there been one all we their has would
when if so no will more out up into do any your what some can time may only other new
also about could these its our than then them first now such like over very well just
where most after down made through back years much before must good way many those
even work people year place garden water river town market street house school road
field morning evening winter summer spring autumn light bread kitchen table window door
stone wood paper letter music story history village city bridge harbour station train
journey walk hill valley forest island coast weather rain wind snow cloud sun night day
week month hour minute family friend child mother father brother sister neighbour
teacher doctor baker farmer painter writer reader visitor member committee meeting
report plan map list index search page site word text line number name title book
chapter note question answer reason result change part group side end point case
fact area world country region council library museum gallery theatre concert festival
supper harvest orchard meadow barn mill pond lane path gate fence wall roof tower
clock bell lamp candle fire kettle teapot basket cart boat sail anchor rope net fish
apple pear plum cherry berry bean pea potato onion leek carrot cabbage turnip herb
honey butter cheese milk egg flour sugar salt pepper soup stew pie cake tart jam
old young small large long short high low early late quiet busy open closed warm cold
green red blue yellow white black brown grey bright dark fresh ripe sweet sour
bring carry build paint write read count keep hold find give take make send show tell
ask help move stand sit wait watch listen learn teach cook bake grow plant dig sow
gather share visit travel return remember forget begin finish follow lead""".split()

SYLLABLES = ("ba be bi bo bu ca ce ci co da de di do fa fe fi fo ga ge go la le li lo "
             "ma me mi mo na ne ni no pa pe pi po ra re ri ro sa se si so ta te ti to "
             "va ve vi vo wa we wi za ze zo bran cler dorn fal gret hol kim lund mar "
             "nor pell quin rost sten tor vel wen yar").split()

ACCENTED = ["café", "crème", "brûlée", "façade", "naïve", "déjà", "piñata", "jalapeño",
            "Straße", "smörgåsbord", "école", "fiancée", "rôle", "soirée"]


def vocabulary(rng, rare):
    words = list(COMMON)
    seen = set(words)
    while len(words) < len(COMMON) + rare:
        w = "".join(rng.choice(SYLLABLES) for _ in range(rng.randint(2, 4)))
        if w not in seen:
            seen.add(w)
            words.append(w)
    return words


class Writer:
    def __init__(self, rng, words):
        self.rng = rng
        self.words = words
        # Zipf-like: the k-th word is drawn with weight 1/k^1.05.
        self.cum_weights = list(
            itertools.accumulate(1.0 / (k + 1) ** 1.05 for k in range(len(words))))

    def sentence(self):
        n = self.rng.randint(6, 18)
        ws = self.rng.choices(self.words, cum_weights=self.cum_weights, k=n)
        if self.rng.random() < 0.15:
            ws[self.rng.randrange(n)] = self.rng.choice(ACCENTED)
        text = " ".join(ws)
        if self.rng.random() < 0.2:
            cut = self.rng.randrange(1, n)
            text = " ".join(ws[:cut]) + ", " + " ".join(ws[cut:])
        return text[0].upper() + text[1:] + self.rng.choice([".", ".", ".", "?", "!"])

    def paragraph(self):
        return " ".join(self.sentence() for _ in range(self.rng.randint(3, 7)))

    def title(self):
        ws = self.rng.choices(self.words[:400], k=self.rng.randint(2, 5))
        return " ".join(w.capitalize() for w in ws)


def html_text(text):
    return (text.replace("&", "&amp;").replace("<", "&lt;")
            .replace("é", "&eacute;", 1))


def build_tree(pages, fanout):
    """Page 0 is the home page; page i hangs below page (i - 1) // fanout.
    A page with children is the index.htm of a folder of its own."""
    children = [[] for _ in range(pages)]
    for i in range(1, pages):
        children[(i - 1) // fanout].append(i)
    paths = [""] * pages
    paths[0] = "index.htm"
    level = [1] * pages
    for i in range(1, pages):
        parent = (i - 1) // fanout
        folder = os.path.dirname(paths[parent])
        stem = "p%04d" % i
        rel = os.path.join(folder, stem + "/index.htm" if children[i] else stem + ".htm")
        paths[i] = rel
        level[i] = level[parent] + 1
    return paths, children, level


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("dir")
    ap.add_argument("--pages", type=int, default=2000)
    ap.add_argument("--fanout", type=int, default=8)
    ap.add_argument("--seed", type=int, default=1)
    args = ap.parse_args()
    rng = random.Random(args.seed)
    writer = Writer(rng, vocabulary(rng, 20000))
    paths, children, level = build_tree(args.pages, args.fanout)
    folders = set()
    for i, path in enumerate(paths):
        folder = os.path.dirname(path)
        folders.add(folder)
        here = os.path.dirname(path)

        def link(target):
            return os.path.relpath(paths[target], here or ".")

        title = writer.title()
        body = []
        for _ in range(rng.randint(3, 8)):
            body.append("<p>" + html_text(writer.paragraph()) + "</p>")
        if children[i]:
            items = "".join('<li><a href="%s">%s</a></li>\n' % (link(c), writer.title())
                            for c in children[i])
            body.insert(1, "<ul>\n" + items + "</ul>")
        siblings = children[(i - 1) // args.fanout] if i else []
        for s in rng.sample(siblings, min(2, len(siblings))):
            if s != i:
                body.append('<p>See also <a class="see-also" href="%s">%s</a>.</p>'
                            % (link(s), writer.title()))
        if i:
            body.append('<p><a href="%s">Up</a> | <a href="http://www.example.org/%d.htm">'
                        'elsewhere</a> | <a href="mailto:editor@example.com">write</a></p>'
                        % ("../index.htm" if children[i] else "index.htm", i))
        page = ("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n"
                "<title>%s</title>\n<style>p { margin: 0 0 1em }</style>\n</head>\n<body>\n"
                "<h1>%s</h1>\n<!-- page %d -->\n%s\n"
                "<script>var page = %d;</script>\n</body>\n</html>\n"
                % (title, title, i, "\n".join(body), i))
        full = os.path.join(args.dir, path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "w", encoding="utf-8") as f:
            f.write(page)
    print("%d pages, %d folders, %d levels" % (len(paths), len(folders), max(level)))


if __name__ == "__main__":
    main()

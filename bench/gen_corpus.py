#!/usr/bin/env python3
"""Writes the seeded benchmark corpora of the text buffer into bench/corpus/ (never committed).

prose64.txt   ~64 MiB of prose, lines of 40-100 characters, CR LF; a fixed vocabulary of a few
              thousand words; one rare word ("quixotically") about 100 times, one common word
              ("harbour") on most lines (about 0.9 per line)
prose8.txt    the first 8 MiB of it, cut at a line end
code64.txt    ~64 MiB of C-like code, tab and space indentation, LF
longlines16.txt ~16 MiB of prose with some lines of 20,000-200,000 characters, CR LF
"""
import os
import random
import sys

MIB = 1 << 20
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def vocabulary(rng, count=3000):
    syllables = ["ka", "lo", "mi", "ne", "sta", "ri", "po", "tu", "ver", "an", "el", "or",
                 "gra", "the", "qua", "sin", "do", "be", "ful", "ment", "ing", "er", "ly", "un"]
    words = set()
    while len(words) < count:
        words.add("".join(rng.choice(syllables) for _ in range(rng.randint(1, 4))))
    words.discard("harbour")
    words.discard("quixotically")
    return sorted(words)


def prose_lines(rng, words, total_bytes, rare_every):
    weights = [1.0 / (i + 1) for i in range(len(words))]  # Zipf-like
    out = []
    size = 0
    n = 0
    while size < total_bytes:
        target = rng.randint(40, 100)
        line = []
        length = 0
        common = rng.random() < 0.9
        batch = rng.choices(words, weights, k=24)
        for w in batch:
            if length + len(w) + 1 > target and length >= 40:
                break
            line.append(w)
            length += len(w) + 1
        if common:
            line[rng.randrange(len(line))] = "harbour"
        n += 1
        if rare_every and n % rare_every == 0:
            line[rng.randrange(len(line))] = "quixotically"
        text = " ".join(line)[:100]
        out.append(text)
        size += len(text) + 2
    return out


def write(name, lines, eol):
    path = os.path.join(OUT, name)
    with open(path, "w", newline="", encoding="latin-1") as f:
        f.write(eol.join(lines))
        f.write(eol)
    print(f"{path}: {os.path.getsize(path)} bytes, {len(lines)} lines")


def code_lines(rng, words, total_bytes):
    out = []
    size = 0
    depth = 0
    while size < total_bytes:
        r = rng.random()
        indent = ("\t" * depth) if rng.random() < 0.5 else ("    " * depth)
        if r < 0.12 and depth < 6:
            text = f"{indent}if ({rng.choice(words)} < {rng.randint(0, 999)}) {{"
            depth += 1
        elif r < 0.24 and depth > 0:
            depth -= 1
            text = ("\t" * depth) + "}"
        elif r < 0.3:
            text = f"{indent}// {' '.join(rng.choices(words, k=rng.randint(3, 9)))}"
        else:
            a, b, c = rng.choices(words, k=3)
            text = f"{indent}{a} = {b}({c}, {rng.randint(0, 9999)});"
        out.append(text)
        size += len(text) + 1
    return out


def main():
    os.makedirs(OUT, exist_ok=True)
    rng = random.Random(31337)
    words = vocabulary(rng)
    prose = prose_lines(rng, words, 64 * MIB, rare_every=9300)
    write("prose64.txt", prose, "\r\n")
    cut, size = [], 0
    for line in prose:
        if size + len(line) + 2 > 8 * MIB:
            break
        cut.append(line)
        size += len(line) + 2
    write("prose8.txt", cut, "\r\n")
    del prose
    write("code64.txt", code_lines(rng, words, 64 * MIB), "\n")
    longs = prose_lines(rng, words, 12 * MIB, rare_every=0)
    for _ in range(40):
        at = rng.randrange(len(longs))
        longs[at] = " ".join(rng.choices(words, k=rng.randint(3000, 30000)))[: rng.randint(20000, 200000)]
    write("longlines16.txt", longs, "\r\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())

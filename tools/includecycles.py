#!/usr/bin/env python3
"""Include structure of src/: circles between units and windows reaching into others.

A unit is a header with its source file (src/members/frmcandidati.h and .cpp).
Units under src/app/ (the start-up and the table of persistent windows) may
know every window; no unit outside src/app/ may include one inside it, every
other unit must not take part in a circle of includes, and no window outside
src/app/ may cast to another window class or look up another window's
controls by name.

    tools/includecycles.py          prints what it finds; exit 1 if anything
"""
import os
import re
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
reach = re.compile(r'parentWidget\(\)\s*->\s*findChild|(?:qobject|dynamic|static)_cast<\s*Tfrm')

units = {}
problems = []
for folder, _, files in os.walk(root):
    for name in files:
        if not name.endswith((".h", ".cpp")):
            continue
        path = os.path.join(folder, name)
        unit = os.path.relpath(os.path.splitext(path)[0], root).replace(os.sep, "/")
        with open(path, encoding="utf-8") as f:
            text = f.read()
        targets = units.setdefault(unit, set())
        for target in include.findall(text):
            if target.startswith("app/") and not unit.startswith("app/"):
                problems.append(f"{os.path.relpath(path, root)}: includes {target}, above its own folder")
            target = os.path.splitext(target)[0]
            if target != unit:
                targets.add(target)
        if not unit.startswith("app/"):
            for m in reach.finditer(text):
                line = text.count("\n", 0, m.start()) + 1
                problems.append(f"{os.path.relpath(path, root)}:{line}: reaches into another window: {m.group(0)}")

# Circles among the units outside app/ (strongly connected components).
graph = {u: {t for t in ts if t in units and not t.startswith("app/")}
         for u, ts in units.items() if not u.startswith("app/")}
index, low, stack, on_stack, counter = {}, {}, [], set(), [0]
sys.setrecursionlimit(10000)


def visit(u):
    index[u] = low[u] = counter[0]
    counter[0] += 1
    stack.append(u)
    on_stack.add(u)
    for v in graph[u]:
        if v not in index:
            visit(v)
            low[u] = min(low[u], low[v])
        elif v in on_stack:
            low[u] = min(low[u], index[v])
    if low[u] == index[u]:
        component = []
        while True:
            v = stack.pop()
            on_stack.discard(v)
            component.append(v)
            if v == u:
                break
        if len(component) > 1:
            problems.append("circle of includes: " + " <-> ".join(sorted(component)))


for u in sorted(graph):
    if u not in index:
        visit(u)

for p in problems:
    print(p)
print(f"includecycles: {len(graph)} units outside app/, {len(problems)} problem(s)")
sys.exit(1 if problems else 0)

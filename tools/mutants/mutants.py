#!/usr/bin/env python3
"""Plants small faults in the core, one at a time, and records which tests catch each.

    mutants.py make TREE COUNT SEED OUT.json   picks COUNT edits at random (fixed by SEED)
    mutants.py run TREE BUILD LIST.json OUT.json [FROM TO]
                                                 builds core_tests with each edit and runs it

TREE is a checkout used for nothing else (a git worktree): each edit is written into it and
undone afterwards. BUILD is a configured debug build folder of that checkout. An edit whose line
has moved is looked for within 15 lines; FROM and TO take a slice of the list, so that two
checkouts can share the work. A fault no test catches is "survived"; one that does not build is
"invalid". Some survivors cannot be caught at all (the edit changes nothing observable).
"""
import json
import os
import random
import re
import subprocess
import sys

# Each edit turns one operator or literal into its counterpart.
EDITS = [
    (r'==', '!='), (r'!=', '=='), (r'<=', '<'), (r'>=', '>'), (r'&&', '||'), (r'\|\|', '&&'),
    (r'\btrue\b', 'false'), (r'\bfalse\b', 'true'), (r'\+ 1\b', '- 1'), (r'- 1\b', '+ 1'),
    (r'if \(!', 'if ('), (r' < ', ' <= '), (r' > ', ' >= '), (r'\+\+', '--'),
]
CALL_STATEMENT = re.compile(r'^\s+[A-Za-z_][\w:.>-]*\(.*\);$')


def core_sources(tree):
    found = []
    for folder, _, files in os.walk(os.path.join(tree, 'src')):
        if '/shell' in folder or '/platform' in folder:
            continue  # the core only: its tests run without a window
        found += [os.path.relpath(os.path.join(folder, name), tree)
                  for name in files if name.endswith(('.cpp', '.h'))]
    return sorted(found)


def candidates(tree):
    found = []
    for rel in core_sources(tree):
        with open(os.path.join(tree, rel), encoding='utf-8') as f:
            lines = f.read().split('\n')
        for i, line in enumerate(lines):
            code = line.strip()
            if not code or code.startswith(('//', '#')) or 'static_assert' in code:
                continue
            for pattern, replacement in EDITS:
                for m in re.finditer(pattern, line):
                    found.append((rel, i, line, line[:m.start()] + replacement + line[m.end():]))
            if CALL_STATEMENT.match(line) and 'return' not in line:
                found.append((rel, i, line, ''))  # the call left out
    return found


def run_one(tree, build, rel, i, original, edited):
    path = os.path.join(tree, rel)
    with open(path, encoding='utf-8') as f:
        text = f.read()
    lines = text.split('\n')
    if lines[i] != original:
        near = [j for j in range(max(0, i - 15), min(len(lines), i + 16)) if lines[j] == original]
        if len(near) != 1:
            return 'moved', ''
        i = near[0]
    lines[i] = edited
    try:
        with open(path, 'w', encoding='utf-8') as f:
            f.write('\n'.join(lines))
        if subprocess.run(['cmake', '--build', build, '--target', 'core_tests'],
                          capture_output=True).returncode != 0:
            return 'invalid', ''
        env = dict(os.environ, QT_QPA_PLATFORM='offscreen')
        try:
            tests = subprocess.run([os.path.join(build, 'tests', 'core_tests'), '--gtest_brief=1'],
                                   capture_output=True, text=True, env=env, timeout=120)
        except subprocess.TimeoutExpired:
            return 'killed', 'timeout'
        failed = sorted(set(re.findall(r'\[  FAILED  \] (\S+)', tests.stdout)))
        return ('killed' if tests.returncode != 0 else 'survived'), ' '.join(failed)
    finally:
        with open(path, 'w', encoding='utf-8') as f:
            f.write(text)


def main(argv):
    if len(argv) == 6 and argv[1] == 'make':
        edits = candidates(argv[2])
        random.Random(int(argv[4])).shuffle(edits)
        with open(argv[5], 'w') as f:
            json.dump(edits[:int(argv[3])], f, indent=0)
        print(f'{len(edits)} candidates, {min(len(edits), int(argv[3]))} taken')
    elif len(argv) in (6, 8) and argv[1] == 'run':
        tree, build, listed, out = argv[2:6]
        with open(listed) as f:
            edits = json.load(f)
        lo, hi = (int(argv[6]), int(argv[7])) if len(argv) == 8 else (0, len(edits))
        results = []
        for k in range(lo, min(hi, len(edits))):
            verdict, failed = run_one(tree, build, *edits[k])
            rel, i, original, edited = edits[k]
            results.append({'k': k, 'file': rel, 'line': i + 1, 'orig': original.strip(),
                            'new': edited.strip(), 'verdict': verdict, 'failed': failed})
            print(k, verdict, rel, i + 1, failed[:100], flush=True)
            with open(out, 'w') as f:
                json.dump(results, f, indent=1)
        subprocess.run(['cmake', '--build', build, '--target', 'core_tests'], capture_output=True)
    else:
        print(__doc__)
        return 2
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))

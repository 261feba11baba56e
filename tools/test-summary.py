#!/usr/bin/env python3
"""Summary of a test run from the results that tools/gtest-run.py left in DIR:
one line per test program, then every case that failed, did not finish or was skipped.

    test-summary.py DIR
"""
import glob
import json
import os
import sys


def main():
    folder = sys.argv[1]
    programs = []
    for path in sorted(glob.glob(os.path.join(folder, '*.json'))):
        with open(path) as handle:
            programs.append(json.load(handle))
    if not programs:
        print('No test program left results in %s.' % folder)
        return 0

    totals = {'passed': 0, 'failed': 0, 'unfinished': 0, 'skipped': 0}
    print('Test programs:')
    for p in programs:
        counts = {k: sum(c['status'] == k for c in p['cases']) for k in totals}
        for k in totals:
            totals[k] += counts[k]
        print('  %-28s %s  %4d passed %3d failed %3d skipped  (%s)' % (
            p['name'], 'ok  ' if p['ok'] else 'FAIL', counts['passed'],
            counts['failed'] + counts['unfinished'], counts['skipped'], p['ending']))
    for title, kinds in (('Failed', ('failed', 'unfinished')), ('Skipped', ('skipped',))):
        rows = [(p['name'], c) for p in programs for c in p['cases'] if c['status'] in kinds]
        if rows:
            print('%s cases:' % title)
            for name, c in rows:
                extra = ' (did not finish)' if c['status'] == 'unfinished' else ''
                print('  %s: %s%s%s' % (name, c['name'], extra,
                                        ': ' + c['reason'] if c['reason'] else ''))
    print('Cases: %d passed, %d failed, %d did not finish, %d skipped.' % (
        totals['passed'], totals['failed'], totals['unfinished'], totals['skipped']))
    return 0


if __name__ == '__main__':
    sys.exit(main())

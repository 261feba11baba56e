#!/usr/bin/env python3
"""Runs one GoogleTest executable whole, in one process, and tells each case's result.

    gtest-run.py --name NAME --timeout SECONDS --results DIR [--case-timeout CASE_SECONDS]
                 -- LAUNCHER... EXE [ARGS...]

The program's output goes to a file (a pipe can be held open by the services Wine starts) and is
printed afterwards, followed by one line per case. The results also go to DIR/NAME.json for the
summary of the whole run (tools/test-summary.py).

The time limit is SECONDS times VORSALT_TIME_SCALE (default 1). Under emulation
(VORSALT_EMULATED=1) Wine can die by a signal or hang while its threads end, after the program
has finished: such a run counts by the program's own complete report, and says so. A case that
takes the process down there, or runs longer than CASE_SECONDS (default 60, times the scale),
fails, and the cases after it run in a new process. Natively the exit status always counts.
"""
import argparse
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

RUN = re.compile(r'^\[ RUN      \] (\S+)')
OUTCOME = re.compile(r'^\[ +(OK|FAILED|SKIPPED) +\] (\S+)(?: \((\d+) ms\))?')
FINISHED = re.compile(r'^\[==========\] \d+ tests? from \d+ test suites? ran\.')


def read_cases(lines):
    """Cases in the order they ran; a case that started but never ended is 'unfinished'."""
    cases, current, notes = [], None, []
    for line in lines:
        m = RUN.match(line)
        if m:
            current, notes = m.group(1), []
            cases.append({'name': current, 'status': 'unfinished', 'ms': None, 'reason': ''})
            continue
        m = OUTCOME.match(line)
        if m and current == m.group(2):
            status = {'OK': 'passed', 'FAILED': 'failed', 'SKIPPED': 'skipped'}[m.group(1)]
            cases[-1].update(status=status, ms=int(m.group(3)) if m.group(3) else None)
            if status == 'skipped':
                # GoogleTest prints "file(line): Skipped" and then the reason.
                reason = [n for n in notes if not n.endswith(': Skipped') and n.strip()]
                cases[-1]['reason'] = ' '.join(r.strip() for r in reason)
            current = None
            continue
        if current:
            notes.append(line)
    return cases


def without(gtest_filter, cases):
    """The filter with these cases left out of what it selects."""
    positive, _, negative = (gtest_filter or '*').partition('-')
    return (positive or '*') + '-' + ':'.join([n for n in negative.split(':') if n] + cases)


def last_open_case(log_path):
    """The case that started last and has not ended yet, if any."""
    with open(log_path, 'rb') as handle:
        lines = handle.read().decode('utf-8', errors='replace').splitlines()
    cases = read_cases(lines)
    return cases[-1]['name'] if cases and cases[-1]['status'] == 'unfinished' else None


def stop_group(process):
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


def run(command, log_path, timeout, case_timeout):
    """Runs the command; returns (exit code or None, 'time'|'case'|None for how it was stopped).

    With case_timeout the output is watched: a case that runs longer than that stops the process."""
    with open(log_path, 'wb') as log:
        process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT,
                                   stdin=subprocess.DEVNULL, start_new_session=True)
        deadline = time.monotonic() + timeout
        case, case_started, stopped = None, None, None
        while True:
            try:
                code = process.wait(timeout=1 if case_timeout else timeout)
                stop_group(process)  # what the program started and left behind (peers of a crashed case)
                return code, None
            except subprocess.TimeoutExpired:
                pass
            now = time.monotonic()
            if now >= deadline:
                stopped = 'time'
            elif case_timeout:
                open_case = last_open_case(log_path)
                if open_case != case:
                    case, case_started = open_case, now
                elif case and now - case_started >= case_timeout:
                    stopped = 'case'
            if stopped:
                break
        stop_group(process)
        process.wait()
        return None, stopped


def run_logged(command, name, results, timeout, case_timeout=None):
    """Runs the command with its output in a file of DIR, prints that output and returns it."""
    with tempfile.NamedTemporaryFile(prefix=name + '.', suffix='.log', dir=results,
                                     delete=False) as handle:
        log_path = handle.name
    code, stopped = run(command, log_path, timeout, case_timeout)
    with open(log_path, 'rb') as handle:
        text = handle.read().decode('utf-8', errors='replace')
    os.unlink(log_path)
    sys.stdout.write(text)
    if not text.endswith('\n'):
        sys.stdout.write('\n')
    return code, stopped, text


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('--name', required=True)
    parser.add_argument('--timeout', type=float, required=True)
    parser.add_argument('--results', required=True)
    parser.add_argument('--case-timeout', type=float, default=60)
    parser.add_argument('command', nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ['--'] else args.command

    scale = float(os.environ.get('VORSALT_TIME_SCALE', '1') or 1)
    emulated = os.environ.get('VORSALT_EMULATED') == '1'
    timeout = args.timeout * scale

    os.makedirs(args.results, exist_ok=True)
    cases, ran = [], []
    started = time.monotonic()
    case_timeout = args.case_timeout * scale if emulated else None
    while True:
        run_command = command + (['--gtest_filter=' + without(os.environ.get('GTEST_FILTER', ''), ran)]
                                 if ran else [])
        code, stopped, text = run_logged(run_command, args.name, args.results,
                                         max(1, timeout - (time.monotonic() - started)), case_timeout)
        timed_out = stopped == 'time'
        lines = text.splitlines()
        this_run = read_cases(lines)
        cases += this_run
        complete = any(FINISHED.match(line) for line in lines)
        # Under emulation a case that takes Wine down or hangs ends the process: the cases after it
        # run in a new one (the time limit is for all of them).
        if complete or timed_out or not emulated or not this_run or this_run[-1]['status'] != 'unfinished':
            break
        ran += [c['name'] for c in this_run]
        if stopped == 'case':
            this_run[-1]['reason'] = 'no end within %d s' % case_timeout
        print('(%s: the process %s in %s; the cases after it run in a new process)'
              % (args.name, 'was stopped' if stopped else 'ended', this_run[-1]['name']))
    failed = [c for c in cases if c['status'] in ('failed', 'unfinished')]

    if timed_out:
        ending = 'stopped after %d s' % timeout
    elif code < 0:
        ending = 'died by signal %d' % -code
    elif code > 128:
        ending = 'died by signal %d' % (code - 128)
    else:
        ending = 'exit code %d' % code
    ok = not failed and complete and (code == 0 or (emulated and code != 1))

    print('---- %s: %d passed, %d failed, %d skipped; %s%s' % (
        args.name, sum(c['status'] == 'passed' for c in cases), len(failed),
        sum(c['status'] == 'skipped' for c in cases), ending,
        ' after its complete report (emulated run: counted by the report)'
        if ok and code != 0 else ''))
    for c in cases:
        line = '%-8s %s' % (c['status'].upper(), c['name'])
        if c['ms'] is not None:
            line += ' (%d ms)' % c['ms']
        if c['reason']:
            line += ': ' + c['reason']
        print(line)
    if not complete:
        print('The program ended before its report was complete.')

    with open(os.path.join(args.results, args.name + '.json'), 'w') as handle:
        json.dump({'name': args.name, 'ok': ok, 'ending': ending, 'complete': complete,
                   'cases': cases}, handle)
    return 0 if ok else 1


if __name__ == '__main__':
    sys.exit(main())

#!/usr/bin/env python3
"""Reference numbers for tests/memory/tfsrs_test.cpp, computed apart from the C++ code.

Day-level scheduling over the published default weights: a first answer takes the initial
stability and difficulty, an answer on the same day as the last one the short-term formula,
a later one the recall or lapse formula. Intervals are whole days (rounded, 1 .. 36500).
Run: python3 fsrs_reference.py  (prints the table rows of the test).
"""
import math

W = [0.212, 1.2931, 2.3065, 8.2956, 6.4133, 0.8334, 3.0194, 0.001, 1.8722, 0.1666, 0.796,
     1.4835, 0.0614, 0.2629, 1.6483, 0.6014, 1.8729, 0.5425, 0.0912, 0.0658, 0.1542]
DECAY = -W[20]
FACTOR = 0.9 ** (1 / DECAY) - 1


def clamp(x, lo, hi):
    return max(lo, min(hi, x))


def d0(g):
    return W[4] - math.exp(W[5] * (g - 1)) + 1


def retrievability(t, s):
    return (1 + FACTOR * t / s) ** DECAY


def interval(s, r):
    return s / FACTOR * (r ** (1 / DECAY) - 1)


def next_d(d, g):
    damped = d + (-W[6] * (g - 3)) * (10 - d) / 9
    return clamp(W[7] * d0(4) + (1 - W[7]) * damped, 1, 10)


def review(state, g, day, retention):
    if state is None:
        s, d = max(W[g - 1], 0.001), clamp(d0(g), 1, 10)
    else:
        s, d, last = state
        t = day - last
        if t <= 0:
            inc = math.exp(W[17] * (g - 3 + W[18])) * s ** -W[19]
            if g >= 3:
                inc = max(inc, 1)
            s2 = s * inc
        else:
            r = retrievability(t, s)
            if g == 1:
                long_term = W[11] * d ** -W[12] * ((s + 1) ** W[13] - 1) * math.exp(W[14] * (1 - r))
                s2 = min(long_term, s / math.exp(W[17] * W[18]))
            else:
                hard = W[15] if g == 2 else 1
                easy = W[16] if g == 4 else 1
                s2 = s * (1 + math.exp(W[8]) * (11 - d) * s ** -W[9] * (math.exp(W[10] * (1 - r)) - 1) * hard * easy)
        s, d = s2, next_d(d, g)
    s = clamp(s, 0.001, 36500)
    days = clamp(int(math.floor(interval(s, retention) + 0.5)), 1, 36500)
    return (s, d, day), day + days


SEQUENCES = [
    ("first good", 0.9, [(0, 3)]),
    ("wrong then right the same day", 0.9, [(0, 1), (0, 3), (1, 3), (3, 3)]),
    ("good reviews on time, a lapse, relearning", 0.9, [(0, 3), (2, 3), (8, 3), (30, 1), (31, 3), (33, 2)]),
    ("hard answers, then easy", 0.9, [(0, 2), (1, 2), (3, 4)]),
    ("reviewed long after due", 0.9, [(0, 3), (60, 3), (61, 1)]),
    ("higher retention, shorter intervals", 0.95, [(0, 4), (8, 3), (20, 3)]),
    ("lower retention", 0.8, [(0, 3), (3, 3), (15, 2)]),
]

if __name__ == "__main__":
    for name, retention, steps in SEQUENCES:
        state = None
        rows = []
        for day, g in steps:
            state, due = review(state, g, day, retention)
            rows.append("{%d, %d, %.6f, %.6f, %d}" % (day, g, state[0], state[1], due))
        print('    {"%s", %.2f, {%s}},' % (name, retention, ", ".join(rows)))

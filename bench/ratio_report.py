#!/usr/bin/env python3
"""Prints a benchmark's two timings and their ratio against its goal, and
exits with 1 when the goal is missed. The ratio is the second timing over
the first (ours over what it is measured against).

usage: ratio_report.py TITLE GOAL LABEL1 MS1 LABEL2 MS2
"""
import sys

title, goal = sys.argv[1], float(sys.argv[2])
(label1, ms1), (label2, ms2) = (sys.argv[3], float(sys.argv[4])), (sys.argv[5], float(sys.argv[6]))
ratio = ms2 / ms1
print(title)
print(f"  {label1:17}{ms1:9.1f} ms")
print(f"  {label2:17}{ms2:9.1f} ms")
print(f"  {'ratio':17}{ratio:9.2f}   (goal <= {goal:.2f}) {'ok' if ratio <= goal else 'MISSED'}")
sys.exit(0 if ratio <= goal else 1)

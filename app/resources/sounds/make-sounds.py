#!/usr/bin/env python3
"""Writes the program's two short sounds, Blow.wav and Frog.wav, into this folder.

Blow is a soft breath of filtered noise; Frog a short low croak. Both are 16-bit mono at 22050 Hz
and well under half a second, so that a player process ends quickly.
"""
import math
import os
import random
import struct
import wave

RATE = 22050


def write(name, samples):
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), name)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32000)) for s in samples))


def blow():
    random.seed(7)
    length = int(RATE * 0.35)
    smoothed = 0.0
    samples = []
    for i in range(length):
        t = i / length
        envelope = math.sin(math.pi * t) ** 2
        smoothed += 0.08 * (random.uniform(-1.0, 1.0) - smoothed)
        samples.append(0.9 * envelope * smoothed * 3.0)
    return samples


def frog():
    length = int(RATE * 0.25)
    samples = []
    for i in range(length):
        t = i / RATE
        pulse = 0.5 + 0.5 * math.sin(2 * math.pi * 28 * t)
        tone = math.sin(2 * math.pi * 170 * t) + 0.4 * math.sin(2 * math.pi * 340 * t)
        envelope = min(1.0, i / 200) * (1.0 - i / length)
        samples.append(0.5 * envelope * pulse * tone)
    return samples


write("Blow.wav", blow())
write("Frog.wav", frog())

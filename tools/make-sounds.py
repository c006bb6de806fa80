#!/usr/bin/env python3
"""Makes the program's own two sounds, resources/sounds/Cmd.wav and Recycle.wav.

Both are synthesised here, so the project owns every sample of them. Run it
again after changing a sound and commit the files it writes:

    python3 tools/make-sounds.py
"""

import math
import os
import random
import struct
import wave

RATE = 22050


def write(path, samples):
    """Writes mono 16-bit PCM at RATE."""
    frames = b"".join(struct.pack("<h", max(-32767, min(32767, int(round(s * 32767))))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def normalise(samples, peak):
    top = max(abs(s) for s in samples) or 1.0
    return [s * peak / top for s in samples]


def fade(samples, ms_in, ms_out):
    """Short linear fades at both ends, so neither end clicks."""
    n_in = int(RATE * ms_in / 1000)
    n_out = int(RATE * ms_out / 1000)
    out = list(samples)
    for i in range(min(n_in, len(out))):
        out[i] *= i / n_in
    for i in range(min(n_out, len(out))):
        out[-1 - i] *= i / n_out
    return out


def cmd():
    """About 80 ms: a soft, rounded blip that glides a little downwards, for hover
    and confirmation. A sine with a touch of its octave, a quick attack and an
    exponential decay."""
    n = int(RATE * 0.080)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        freq = 1320.0 - 380.0 * (t / 0.080)  # 1320 Hz gliding to 940 Hz
        phase += 2 * math.pi * freq / RATE
        env = (1 - math.exp(-t / 0.002)) * math.exp(-t / 0.022)
        out.append(env * (math.sin(phase) + 0.18 * math.sin(2 * phase)))
    return fade(normalise(out, 0.42), 1, 6)


def recycle():
    """About 300 ms: a descending whoosh under two falling tones, for deletions.
    Filtered noise whose brightness falls with time, and two short tones a
    fourth apart (A5 then E5)."""
    rnd = random.Random(20240611)  # fixed, so every run writes the same file
    n = int(RATE * 0.300)
    out = []
    low = 0.0
    phase = 0.0
    for i in range(n):
        t = i / RATE
        # One-pole low-pass whose cut-off slides from about 3.5 kHz to 300 Hz.
        cutoff = 3500.0 * math.exp(-t / 0.12) + 300.0
        a = 1 - math.exp(-2 * math.pi * cutoff / RATE)
        low += a * (rnd.uniform(-1, 1) - low)
        swell = math.sin(math.pi * min(1.0, t / 0.300)) ** 1.5
        noise = low * swell * 0.9

        freq = 880.0 if t < 0.110 else 659.25
        phase += 2 * math.pi * freq / RATE
        local = t if t < 0.110 else t - 0.110
        tone_env = (1 - math.exp(-local / 0.004)) * math.exp(-local / 0.055)
        tone = 0.55 * tone_env * math.sin(phase)
        out.append(noise + tone)
    return fade(normalise(out, 0.45), 2, 25)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = os.path.join(here, "..", "resources", "sounds")
    os.makedirs(folder, exist_ok=True)
    write(os.path.join(folder, "Cmd.wav"), cmd())
    write(os.path.join(folder, "Recycle.wav"), recycle())


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the program's 13 built-in sounds to src/services/data/sounds/NAME.wav.

Every sound is synthesised from a few sine partials, envelopes and a seeded noise source, so the
output is the same bytes on every run. Only the standard library is used.

    python3 scripts/make-sounds.py [OUTPUT_DIR]
"""

import math
import os
import struct
import sys
import wave

RATE_8K = 8000
RATE_11K = 11025


class Noise:
    """A small linear congruential generator: the same 'random' samples on every run."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return (self.state >> 8) / float(1 << 23) - 1.0


def envelope(t, length, attack, decay=None):
    """Linear attack, then either an exponential decay (time constant `decay`) or a linear
    release over the last 20 ms; always silent at both ends."""
    if t < attack:
        level = t / attack
    elif decay is not None:
        level = math.exp(-(t - attack) / decay)
    else:
        level = 1.0
    release = 0.02
    if length - t < release:
        level *= max(length - t, 0.0) / release
    return level


def render(rate, length, voice):
    """Samples of voice(t) for t in [0, length)."""
    return [voice(i / rate) for i in range(int(rate * length))]


def tone(freq, t):
    return math.sin(2 * math.pi * freq * t)


def sweep(f0, f1, length, t, exponential=True):
    """Phase of a sweep from f0 to f1 over `length` seconds, evaluated at t."""
    if exponential:
        k = math.log(f1 / f0) / length
        return 2 * math.pi * f0 * (math.exp(k * t) - 1) / k
    return 2 * math.pi * (f0 * t + (f1 - f0) * t * t / (2 * length))


def ring():
    # A soft pulse tick: a short, round blip that does not tire at every billing pulse.
    length = 0.12
    return RATE_8K, 16, render(RATE_8K, length, lambda t: 0.55 * envelope(t, length, 0.003, 0.025) * (
        0.8 * tone(880, t) + 0.2 * tone(1760, t)))


def end_connection():
    # Falling two-tone: 660 Hz, then 440 Hz.
    first, second = 0.16, 0.28
    length = first + second

    def voice(t):
        if t < first:
            return 0.5 * envelope(t, first, 0.005, 0.12) * tone(660, t)
        u = t - first
        return 0.5 * envelope(u, second, 0.005, 0.16) * (0.85 * tone(440, u) + 0.15 * tone(880, u))
    return RATE_11K, 8, render(RATE_11K, length, voice)


def cambio_stato():
    # Rising chirp, 400 to 1200 Hz.
    length = 0.25
    return RATE_11K, 8, render(RATE_11K, length, lambda t: 0.5 * envelope(t, length, 0.01) * math.sin(
        sweep(400, 1200, length, t)))


def laser():
    # A short "laser": a steep falling sweep with a touch of its octave.
    length = 0.3

    def voice(t):
        # The second harmonic stays below half the sample rate all the way.
        phase = sweep(2400, 240, length, t)
        return 0.45 * envelope(t, length, 0.002, 0.12) * (math.sin(phase) + 0.3 * math.sin(2 * phase))
    return RATE_11K, 8, render(RATE_11K, length, voice)


def bell(freq, t, decay, rate=RATE_11K):
    # Partials of a small bell: not harmonic, the higher ones dying first. Those the sample rate
    # cannot carry are left out rather than folded back as false tones.
    partials = ((1.0, 1.0), (2.76, 0.45), (5.4, 0.25), (8.93, 0.12))
    return sum(a * math.exp(-t * r / decay) * tone(freq * r, t)
               for r, a in partials if freq * r < 0.45 * rate) / 1.82


def message():
    # "News": two bell strokes, a fourth apart.
    stroke = 0.22
    length = 0.62

    def voice(t):
        s = bell(1046.5, t, 0.18)
        if t >= stroke:
            s += min(1.0, (t - stroke) / 0.002) * bell(1396.9, t - stroke, 0.2)
        return 0.5 * envelope(t, length, 0.002) * s
    return RATE_11K, 16, render(RATE_11K, length, voice)


def msg_back():
    # Backspace: a short low blip gliding down.
    length = 0.06
    return RATE_11K, 8, render(RATE_11K, length, lambda t: 0.5 * envelope(t, length, 0.002, 0.03) * math.sin(
        sweep(700, 320, length, t)))


def msg_bell():
    # Enter, or the message is full: one bright ding.
    length = 0.4
    return RATE_11K, 8, render(RATE_11K, length, lambda t: 0.6 * envelope(t, length, 0.002) * bell(1318.5, t, 0.15))


def msg_end():
    # Sending finished: three quick rising notes, C E G.
    note = 0.09
    notes = (523.25, 659.25, 783.99)
    length = note * 2 + 0.2

    def voice(t):
        i = min(int(t / note), 2)
        u = t - i * note
        span = note if i < 2 else length - 2 * note
        return 0.45 * envelope(u, span, 0.004, 0.07 if i < 2 else 0.12) * (
            0.8 * tone(notes[i], u) + 0.2 * tone(2 * notes[i], u))
    return RATE_11K, 8, render(RATE_11K, length, voice)


def msg_error():
    # Failure: two low, buzzy pulses.
    pulse, gap = 0.13, 0.06
    length = 2 * pulse + gap

    def voice(t):
        u = t if t < pulse + gap else t - pulse - gap
        if u >= pulse:
            return 0.0
        # Odd harmonics of 220 Hz, a softened square.
        s = sum(tone(220 * k, u) / k for k in (1, 3, 5, 7))
        return 0.35 * envelope(u, pulse, 0.004) * s
    return RATE_8K, 8, render(RATE_8K, length, voice)


def msg_sent():
    # Delivered: a bright rising major third.
    first, second = 0.1, 0.22
    length = first + second

    def voice(t):
        if t < first:
            return 0.5 * envelope(t, first, 0.004) * tone(784, t)
        u = t - first
        return 0.5 * envelope(u, second, 0.004, 0.12) * (0.8 * tone(987.8, u) + 0.2 * tone(1975.5, u))
    return RATE_11K, 8, render(RATE_11K, length, voice)


def msg_to_send():
    # Queued: a soft rising whoosh, noise over a faint glide.
    length = 0.28
    noise = Noise(4028)
    state = [0.0]

    def voice(t):
        # One-pole low-pass whose cut-off opens as the sound goes on.
        a = 0.08 + 0.5 * t / length
        state[0] += a * (noise.next() - state[0])
        swell = math.sin(math.pi * t / length)
        return swell * (0.7 * state[0] + 0.18 * math.sin(sweep(300, 900, length, t)))
    return RATE_11K, 8, render(RATE_11K, length, voice)


def msg_type():
    # A key click: a few milliseconds of bright noise over a 3 kHz tick.
    length = 0.03
    noise = Noise(1366)
    previous = [0.0]

    def voice(t):
        n = noise.next()
        high = n - previous[0]  # first difference: a simple high-pass
        previous[0] = n
        return envelope(t, length, 0.0005, 0.004) * (0.2 * high + 0.25 * tone(3000, t))
    return RATE_11K, 8, render(RATE_11K, length, voice)


def clink():
    # Glass touching glass: two high partials, a quick decay.
    length = 0.22
    return RATE_11K, 8, render(RATE_11K, length, lambda t: 0.5 * envelope(t, length, 0.001, 0.05) * (
        0.6 * tone(2637, t) + 0.3 * tone(3951, t) + 0.1 * tone(5274, t)))


SOUNDS = {
    "CambioStato": cambio_stato,
    "EndConnection": end_connection,
    "Laser": laser,
    "Message": message,
    "MsgBack": msg_back,
    "MsgBell": msg_bell,
    "MsgEnd": msg_end,
    "MsgError": msg_error,
    "MsgSent": msg_sent,
    "Ring": ring,
    "MsgToSend": msg_to_send,
    "MsgType": msg_type,
    "Clink": clink,
}


def pcm_bytes(samples, bits):
    clipped = [max(-1.0, min(1.0, s)) for s in samples]
    if bits == 8:
        return bytes(int(round(128 + 127 * s)) for s in clipped)
    return b"".join(struct.pack("<h", int(round(32767 * s))) for s in clipped)


def write(path, rate, bits, samples):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(bits // 8)
        out.setframerate(rate)
        out.writeframes(pcm_bytes(samples, bits))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "src", "services", "data", "sounds")
    os.makedirs(target, exist_ok=True)
    total = 0
    for name, make in SOUNDS.items():
        rate, bits, samples = make()
        path = os.path.join(target, name + ".wav")
        write(path, rate, bits, samples)
        size = os.path.getsize(path)
        total += size
        print(f"{name}.wav: {len(samples) / rate:.2f} s, {rate} Hz, {bits} bit, {size} bytes")
    print(f"total: {total} bytes")


if __name__ == "__main__":
    main()

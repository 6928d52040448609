"""Writes a WAV file of a sine tone: make_wav.py PATH RATE CHANNELS BITS SECONDS."""
import math
import struct
import sys
import wave

path, rate, channels, bits, seconds = sys.argv[1], *map(int, sys.argv[2:6])
with wave.open(path, "wb") as out:
    out.setnchannels(channels)
    out.setsampwidth(bits // 8)
    out.setframerate(rate)
    frames = bytearray()
    for n in range(rate * seconds):
        value = math.sin(2 * math.pi * 440 * n / rate) * 0.5
        sample = struct.pack("<h", int(value * 32767)) if bits == 16 else bytes([int(128 + value * 127)])
        frames += sample * channels
    out.writeframes(bytes(frames))

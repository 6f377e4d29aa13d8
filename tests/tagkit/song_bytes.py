"""What the writer's fault and kill tests compare of a song file."""
import hashlib


def audio_hash(data):
    """A hash of the bytes after the file's ID3v2 tag (all of them when it has none)."""
    if data[:3] == b"ID3" and len(data) >= 10:
        size = (data[6] << 21) | (data[7] << 14) | (data[8] << 7) | data[9]
        data = data[10 + size:]
    return hashlib.sha256(data).hexdigest()

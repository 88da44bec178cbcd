"""What the source generators under tools/ share: their two-argument command
line and writing the generated file only when its text changes."""
import sys


def arguments(usage):
    """The generator's (input, output) paths, or exits with its usage line."""
    if len(sys.argv) != 3:
        raise SystemExit(f"usage: {usage}")
    return sys.argv[1], sys.argv[2]


def write_if_changed(path, text):
    """Leaves an unchanged file untouched, so the build stays up to date."""
    try:
        with open(path, newline="") as f:
            if f.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(path, "w", newline="") as f:
        f.write(text)

"""Shared setup: where the native fdtools and the examples are."""

import os
import shutil
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]


def _native():
    given = os.environ.get("FDTOOLS")
    if given:
        return given
    for build in ("ci", "dev", "release"):
        candidate = ROOT / "build" / build / "fdtools"
        if candidate.exists():
            return str(candidate)
    return shutil.which("fdtools")


@pytest.fixture(scope="session")
def native():
    path = _native()
    if path is None:
        pytest.fail("no native fdtools: build it (cmake --workflow --preset test) "
                    "or set FDTOOLS")
    return path


@pytest.fixture(scope="session")
def root():
    return ROOT

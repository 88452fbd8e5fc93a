# The Python package (python/fdtools): its extension is built from the
# engine's own sources, so that it answers exactly as the fdtools command.
import glob
import os

from pybind11.setup_helpers import ParallelCompile, Pybind11Extension
from setuptools import setup

# Paths relative to this folder, the repository root, as setuptools wants.
os.chdir(os.path.dirname(os.path.abspath(__file__)))
SOURCES = ["python/engine.cpp"]
for layer in ("frame", "design", "report"):
    SOURCES += sorted(glob.glob(f"{layer}/*.cpp"))

ParallelCompile("FDTOOLS_BUILD_JOBS", default=0).install()

setup(
    ext_modules=[
        Pybind11Extension(
            "fdtools._engine",
            SOURCES,
            include_dirs=["."],
            cxx_std=20,
            extra_compile_args=["-O2"],
        )
    ],
)

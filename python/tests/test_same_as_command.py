"""Every answer of the package is byte for byte that of fdtools --json."""

import random
import subprocess

import pytest

import fdtools

# (method, its arguments, the command line's words).
QUESTIONS = [
    ("report", {}, ["report"]),
    ("keys", {"max_keys": 3}, ["--max-keys", "3", "keys"]),
    ("cover", {}, ["cover"]),
    ("normal_forms", {}, ["normal-forms"]),
    ("lossless", {}, ["lossless"]),
    ("preserve", {}, ["preserve"]),
    ("synthesize", {}, ["synthesize"]),
    ("synthesize", {"bcnf": True}, ["synthesize", "--bcnf"]),
    ("synthesize", {"four_nf": True}, ["synthesize", "--4nf"]),
    ("report", {"steps": True}, ["--steps", "report"]),
    ("synthesize", {"bcnf": True, "steps": True}, ["--steps", "synthesize", "--bcnf"]),
]


def command(native, words, *files):
    run = subprocess.run([native, "--json", *words, *map(str, files)],
                         capture_output=True)
    return run.returncode, run.stdout.decode("utf-8")


def same_answers(native, path):
    try:
        schema = fdtools.read_file(path)
    except fdtools.InputError as error:
        # Then the command refuses the file too, for the same reason.
        run = subprocess.run([native, "report", str(path)], capture_output=True)
        assert run.returncode == 2
        assert run.stderr.decode().endswith(f":{error.line}: {error.message}\n")
        return
    for method, kwargs, words in QUESTIONS:
        status, expected = command(native, words, path)
        if status == 2:
            with pytest.raises(fdtools.InputError):
                getattr(schema, method)(**kwargs)
            continue
        assert getattr(schema, method)(**kwargs).to_json() == expected, (path, words)
    for form, flags in ((None, []), ("3NF", ["--3nf"]), ("BCNF", ["--bcnf"]),
                        ("4NF", ["--4nf"])):
        status, expected = command(native, ["check-decomposition", *flags], path)
        if status == 2:
            with pytest.raises(fdtools.InputError):
                fdtools.check_decomposition(schema, form)
            continue
        assert fdtools.check_decomposition(schema, form).to_json() == expected


def test_examples(native, root):
    paths = sorted((root / "examples").glob("*.txt"))
    assert paths
    for path in paths:
        same_answers(native, path)


# Names with spaces, quotes, commas inside quotes, backslashes, non-ASCII
# letters and bytes that are not UTF-8.
POOL = [b"A", b"B", b"C", b"D", b"E", b"F", b"Stra\xc3\x9fe", b"Stra\xdfe",
        b"a b", b"'x,y'", b"x\\\\y", b"\xe9", b"id"]


def random_input(rng):
    names = POOL[: rng.randint(2, len(POOL))]

    def pick(most):
        return sorted({rng.choice(names) for _ in range(rng.randint(0, most))})

    lines = [b",".join(t) for t in (pick(4) for _ in range(rng.randint(0, 3))) if t]
    lines.append(b"")
    for _ in range(rng.randint(0, 6)):
        lines.append(b",".join(pick(2)) + b"->" + b",".join(pick(2)))
    return b"\n".join(lines) + b"\n"


def test_generated_inputs(native, tmp_path):
    rng = random.Random(11)
    for i in range(150):
        path = tmp_path / f"input{i}.txt"
        path.write_bytes(random_input(rng))
        same_answers(native, path)


def test_two_inputs(native, tmp_path):
    rng = random.Random(12)
    for i in range(100):
        first = tmp_path / f"a{i}.txt"
        second = tmp_path / f"b{i}.txt"
        first.write_bytes(random_input(rng))
        second.write_bytes(random_input(rng))
        a = fdtools.read_file(first)
        b = fdtools.read_file(second)
        for function, word in ((fdtools.equivalent, "equivalent"),
                               (fdtools.check_cover, "check-cover")):
            status, expected = command(native, [word], first, second)
            assert status in (0, 1)
            assert function(a, b).to_json() == expected


def test_closure(native, root):
    path = root / "examples" / "input2n.txt"
    status, expected = command(native, ["closure"], path, "Student,Course")
    assert status == 0
    schema = fdtools.read_file(path)
    assert schema.closure(["Course", "Student"]).to_json() == expected

"""The autograder example on answers that are right, wrong and unreadable."""

import csv
import subprocess
import sys


def test_grades(root, tmp_path):
    out = tmp_path / "grades.csv"
    subprocess.run([sys.executable, str(root / "examples" / "autograde.py"),
                    str(root / "examples" / "input2n.txt"),
                    str(root / "python" / "tests" / "answers"), str(out)],
                   check=True)
    rows = {row["answer"]: row for row in csv.DictReader(out.open())}
    assert list(rows) == ["alice.txt", "bob.txt", "carol.txt", "dave.txt"]
    # Alice: the synthesis and a minimal cover.
    assert rows["alice.txt"]["points"] == "7"
    # Bob: a cover with a two-attribute right side, an extraneous Title and
    # the redundant Student->Faculty; a table that breaks 3NF.
    bob = rows["bob.txt"]
    assert [bob[c] for c in ("equivalent", "single-right-side",
                             "no-extraneous-attribute", "no-redundant-dependency",
                             "lossless", "preserving", "3NF")] == \
        ["1", "0", "0", "0", "1", "1", "0"]
    # Carol: Grade is lost, from the cover and from the tables.
    carol = rows["carol.txt"]
    assert (carol["equivalent"], carol["lossless"], carol["preserving"]) == ("0", "0", "0")
    # Dave: a line without an arrow.
    assert rows["dave.txt"]["points"] == "0"
    assert "line 3" in rows["dave.txt"]["error"]

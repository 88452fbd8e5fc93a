"""The package's own API: data in and out, errors and budgets."""

import pytest

import fdtools

ADDRESS = "Street,Zip\nZip,City\n\nStreet,City->Zip\nZip->City\n"


def test_results_are_python_data():
    schema = fdtools.read(ADDRESS)
    keys = schema.keys()
    assert keys["keys"]["keys"] == [frozenset({"City", "Street"}),
                                    frozenset({"Street", "Zip"})]
    assert keys["attributes"] == ["City", "Street", "Zip"]
    assert keys["tables"] == [frozenset({"Street", "Zip"}), frozenset({"City", "Zip"})]
    assert keys["dependencies"][0] == {"left": frozenset({"City", "Street"}),
                                       "right": frozenset({"Zip"})}
    forms = schema.normal_forms()["normalForms"]
    assert forms["schema"]["form"] == "3NF"
    assert forms["schema"]["violations"][0]["violates"] == ["BCNF"]
    # Zip->City makes the first row all distinguished.
    assert schema.lossless()["lossless"]["tableau"] == [["a", "a", "a"], ["a", "b1", "a"]]
    assert schema.closure({"Zip"})["closure"]["closure"] == frozenset({"City", "Zip"})
    assert schema.tables == [frozenset({"Street", "Zip"}), frozenset({"City", "Zip"})]
    assert schema.dependencies[1] == (frozenset({"Zip"}), frozenset({"City"}))


def test_data_constructor_agrees_with_the_reader():
    cases = [
        ([["A", "B"], ["B", "C"]], [(["A"], ["B"]), (["B"], ["C"])]),
        ([], [(["A", "B"], ["C"]), ([], ["A"])]),
        ([[" Name", "Student", "Dept "]], [(["Student"], [" Name", "Dept "])]),
        ([["'x,y'", "a\\b", "Stra\udcdfe"]], [(["a\\b"], ["'x,y'"])]),
        ([[""]], [([""], [])]),
    ]
    for tables, dependencies in cases:
        built = fdtools.Schema(tables=tables, dependencies=dependencies)
        read = fdtools.read(built.text)
        assert built.report().to_json() == read.report().to_json()
        assert read.tables == ([frozenset(t) for t in tables] or
                               [frozenset(n for d in dependencies for s in d for n in s)])
        assert read.dependencies == [(frozenset(l), frozenset(r)) for l, r in dependencies]


def test_names_that_are_not_utf8_come_back_as_their_bytes():
    schema = fdtools.read(b"Stra\xdfe,Ort,\xc3\xa9,\xe9\n\n\xe9->\xc3\xa9\n")
    attributes = schema.attributes
    assert "Stra\udcdfe" in attributes and "\udce9" in attributes and "é" in attributes
    assert len(set(attributes)) == 4
    assert {n.encode("utf-8", "surrogateescape") for n in attributes} == \
        {b"Ort", b"Stra\xdfe", b"\xc3\xa9", b"\xe9"}


def test_errors_name_the_line():
    with pytest.raises(fdtools.InputError) as error:
        fdtools.read("A,B\n\nA->B\nA-B\n")
    assert error.value.line == 4 and error.value.input == 0
    assert str(error.value) == 'line 4: no "->" in dependency line: A-B'
    with pytest.raises(fdtools.InputError) as error:
        fdtools.read(ADDRESS).closure(["Country"])
    assert error.value.line is None
    assert error.value.message == "attribute not in the schema: Country"
    with pytest.raises(fdtools.InputError, match="both leave a quote open"):
        fdtools.read("'a\n'b\n\n'a->'b\n").synthesize()
    with pytest.raises(fdtools.InputError, match="holds a line break"):
        fdtools.Schema(tables=[["a\nb"]])
    with pytest.raises(ValueError, match="unknown notation"):
        fdtools.read(ADDRESS, notation="latex")
    with pytest.raises(ValueError, match="unknown form"):
        fdtools.check_decomposition(fdtools.read(ADDRESS), "5NF")
    with pytest.raises(ValueError, match="at least 1"):
        fdtools.read(ADDRESS).keys(max_keys=0)
    with pytest.raises(TypeError):
        fdtools.Schema(tables=[[b"A"]])


def test_budgets_say_what_they_stopped():
    pairs = "\n" + "".join(f"A{i}->B{i}\nB{i}->A{i}\n" for i in range(4))
    keys = fdtools.read(pairs).keys(max_keys=2)
    assert keys["keys"]["complete"] is False
    assert len(keys["keys"]["keys"]) == 2
    assert any("limit of 2 keys" in w for w in keys.warnings)
    # The form needs no full key list: every attribute is found prime.
    forms = fdtools.read(pairs).normal_forms(max_keys=2)["normalForms"]
    assert forms["schema"]["decided"] is True
    assert forms["schema"]["form"] == "3NF"
    assert forms["schema"]["keysComplete"] is False
    assert fdtools.read(pairs).keys()["keys"]["complete"] is True


def test_a_synthesis_reads_back_as_its_tables():
    schema = fdtools.read("Student, Name, Dept\n\nStudent-> Name, Dept\n")
    synthesis = schema.synthesize()["synthesis"]
    again = fdtools.read(synthesis["file"])
    assert again.tables == synthesis["tables"]
    assert again.preserve()["preservation"]["preserved"] is True


def test_checks():
    given = fdtools.read("\nA->B\nB->C\n")
    assert fdtools.equivalent(given, fdtools.read("\nA->B\nB->C\nA->C\n"))["equivalent"]["equivalent"]
    result = fdtools.check_cover(given, fdtools.read("\nA->B,C\n"))["checkCover"]
    assert not result["ok"]
    assert {f["property"] for f in result["failures"]} == {"equivalent", "single-right-side"}
    lossy = fdtools.read("A,B\nC\n\nA->B\n")
    failures = fdtools.check_decomposition(lossy)["checkDecomposition"]["failures"]
    assert [f["property"] for f in failures] == ["lossless"]


def test_multivalued_dependencies():
    built = fdtools.Schema(tables=[["Course", "Teacher"], ["Course", "Book"]],
                           dependencies=[(["Teacher"], ["Course"])],
                           multivalued=[(["Course"], ["Teacher"])])
    read = fdtools.read("CTB(Course, Teacher, Book)\nCT(Course, Teacher)\n"
                        "CB(Course, Book)\nTeacher -> Course\nCourse ->> Teacher\n")
    for schema in (built, read):
        assert schema.dependencies == [(frozenset({"Teacher"}), frozenset({"Course"}))]
        assert schema.multivalued == [(frozenset({"Course"}), frozenset({"Teacher"}))]
        assert schema.closure(["Course"])["closure"]["basis"] == \
            [frozenset({"Book"}), frozenset({"Teacher"})]
        assert fdtools.check_decomposition(schema, "4NF")["checkDecomposition"]["ok"]
        assert schema.lossless()["lossless"]["lossless"] is True
    assert built.synthesize(four_nf=True)["synthesis"]["method"] == "4NF"
    with pytest.raises(ValueError):
        built.synthesize(bcnf=True, four_nf=True)


def test_the_extension_needs_only_the_c_and_cpp_runtimes():
    import shutil
    import subprocess

    from fdtools import _engine

    if shutil.which("ldd") is None:
        pytest.skip("no ldd")
    libraries = set()
    for line in subprocess.run(["ldd", _engine.__file__], capture_output=True,
                               text=True, check=True).stdout.splitlines():
        name = line.split()[0]
        libraries.add(name.split("/")[-1].split(".so")[0])
    assert libraries <= {"linux-vdso", "libstdc++", "libgcc_s", "libc", "libm",
                         "ld-linux-x86-64"}, libraries


def test_exercise_notation():
    schema = fdtools.read("R(A, B, C, D, E)\nAB -> C, C -> D, D -> E\n")
    keys = schema.keys()
    assert keys["input"] == {"notation": "exercise", "lettersAsNames": True}
    assert keys["keys"]["keys"] == [frozenset({"A", "B"})]
    assert fdtools.read("AB -> C\n", notation="exercise", names="words").attributes == \
        ["AB", "C"]
    assert fdtools.read("AB -> C\n").attributes == ["AB -> C"]
    strict = schema.convert()["convert"]
    assert strict["to"] == "strict"
    assert fdtools.read(strict["text"]).keys()["keys"] == keys["keys"]
    named = fdtools.read("R = ABCD\nR1 = AB\nR2 = BCD\nB -> C\n")
    assert named.lossless()["tableNames"] == ["R1", "R2"]
    with pytest.raises(fdtools.InputError) as error:
        fdtools.read("R(A, B)\nA -> C\n")
    assert error.value.line == 2
    with pytest.raises(ValueError, match="unknown names"):
        fdtools.read("AB -> C\n", names="digits")


def test_steps_and_worked_solutions(root):
    schema = fdtools.read(ADDRESS)
    assert "steps" not in schema.cover()
    cover = schema.cover(steps=True)["coverSteps"]
    assert cover == {"steps": [], "stepsComplete": True}
    chase = schema.lossless(steps=True)["lossless"]
    assert chase["initial"] == [["b0", "a", "a"], ["a", "b1", "a"]]
    assert chase["steps"] == [{"rule": "equate",
                               "dependency": {"left": frozenset({"Zip"}),
                                              "right": frozenset({"City"})},
                               "rows": [0, 1], "column": "City",
                               "from": "b0", "to": "a"}]
    violation = schema.normal_forms(steps=True)["normalForms"]["schema"]["violations"][0]
    assert violation["reason"] == {"leftClosure": frozenset({"City", "Zip"}),
                                   "rightPrime": True, "partOfKey": None}
    expected = (root / "tests/e2e/fdtools/steps_report_latex/stdout").read_text()
    book = fdtools.read_file(root / "examples/exercise-silberschatz.txt")
    assert book.worked_solution("latex") == expected
    assert schema.worked_solution().startswith("# Worked solution: report\n")
    with pytest.raises(ValueError):
        schema.worked_solution("html")

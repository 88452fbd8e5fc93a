"""The fdtools design audit for Python: the engine of the fdtools command.

Read an exercise (the input format of fdcheck), or build one from Python
data, and ask what ``fdtools --json`` answers: keys, a minimal cover, normal
forms, lossless join, preservation, synthesis and the grading checks. Every
answer is a :class:`Result`, a dict with the keys of the JSON contract
(``man fdtools``), whose ``to_json()`` is byte for byte what the command
prints.

Names are ``str``. A name whose bytes are not UTF-8 (an ISO 8859-2 file) is
the ``str`` that ``bytes.decode("utf-8", "surrogateescape")`` gives, and
goes back to the same bytes the same way.
"""

from __future__ import annotations

import json
import os
from typing import Any, Iterable, List, Optional, Sequence, Tuple, Union

from . import _engine

__all__ = [
    "InputError",
    "Result",
    "Schema",
    "read",
    "read_file",
    "equivalent",
    "check_cover",
    "check_decomposition",
    "DEFAULT_MAX_KEYS",
]

DEFAULT_MAX_KEYS: int = _engine.DEFAULT_MAX_KEYS


class InputError(ValueError):
    """An input the engine cannot read, or an answer it cannot give.

    ``line`` is the line (from 1) the error is on, or None when it is not
    about one line; ``input`` is 0 for the schema, 1 for the second one of
    :func:`equivalent` and :func:`check_cover`.
    """

    def __init__(self, message: str, input: int = 0, line: int = 0) -> None:
        self.message = message
        self.input = input
        self.line: Optional[int] = line if line > 0 else None
        where = f"line {line}: " if line > 0 else ""
        super().__init__(where + message)


_engine.set_input_error(InputError)

# JSON uses the private-use characters U+10FF80..U+10FFFF for the bytes of
# a name that are not UTF-8 (see NameEncoding.h).
_BYTE_BASE = 0x10FF00
_BYTE_FIRST = 0x10FF80


def _name(json_name: str) -> str:
    if not any(ord(c) >= _BYTE_FIRST for c in json_name):
        return json_name
    raw = b"".join(
        bytes([ord(c) - _BYTE_BASE]) if ord(c) >= _BYTE_FIRST else c.encode()
        for c in json_name
    )
    return raw.decode("utf-8", "surrogateescape")


def _bytes(name: str) -> bytes:
    if not isinstance(name, str):
        raise TypeError(f"a name must be a str, not {type(name).__name__}")
    return name.encode("utf-8", "surrogateescape")


# Lists of names that are sets; "tables", "keys" and "basis" hold lists of
# them.
_NAME_SETS = {"left", "right", "prime", "of", "closure", "reached", "missing",
              "added", "attributes", "leftClosure", "partOfKey", "key",
              "table", "inside"}
_LISTS_OF_NAME_SETS = {"tables", "keys", "basis"}


def _convert(value: Any, key: Optional[str] = None, top: bool = False) -> Any:
    if isinstance(value, dict):
        return {k: _convert(v, k, top and False) for k, v in value.items()}
    if isinstance(value, list):
        if key in _NAME_SETS and all(isinstance(v, str) for v in value):
            # The schema's own attributes stay a list, in attribute order.
            if top:
                return [_name(v) for v in value]
            return frozenset(_name(v) for v in value)
        if key in _LISTS_OF_NAME_SETS and all(isinstance(v, list) for v in value):
            return [frozenset(_name(n) for n in v) for v in value]
        return [_convert(v, key) for v in value]
    if isinstance(value, str) and key in ("attribute", "column"):
        return _name(value)
    return value


class Result(dict):
    """An answer: the JSON object of ``fdtools --json`` as Python data.

    Lists of names that are sets (table attributes, dependency sides, keys,
    closures) are frozensets of str; the schema's ``attributes`` is a list
    in attribute order; tableau rows and warnings stay lists.
    """

    def __init__(self, text: str) -> None:
        parsed = json.loads(text)
        super().__init__(
            {k: _convert(v, k, top=(k == "attributes")) for k, v in parsed.items()}
        )
        self._text = text

    def to_json(self) -> str:
        """The exact text ``fdtools --json`` prints for the same question."""
        return self._text

    @property
    def warnings(self) -> List[str]:
        return list(self["warnings"])


def _text(value: Union[str, bytes]) -> bytes:
    if isinstance(value, bytes):
        return value
    if isinstance(value, str):
        return value.encode("utf-8", "surrogateescape")
    raise TypeError(f"an input text must be str or bytes, not {type(value).__name__}")


class Schema:
    """A relation schema: its tables (the decomposition) and dependencies.

    ``Schema(tables=[["A", "B"], ["B", "C"]], dependencies=[(["A"], ["B"])])``
    builds one from Python data (``multivalued`` the same way, for X ->> Y);
    :func:`read` and :func:`read_file` from an input text. With no tables,
    the decomposition is one table of every attribute (and the answers warn
    so).
    """

    def __init__(
        self,
        tables: Iterable[Iterable[str]] = (),
        dependencies: Iterable[Tuple[Iterable[str], Iterable[str]]] = (),
        multivalued: Iterable[Tuple[Iterable[str], Iterable[str]]] = (),
    ) -> None:
        def sides(pairs):
            return [([_bytes(n) for n in left], [_bytes(n) for n in right])
                    for left, right in pairs]

        text = _engine.write_input(
            [[_bytes(n) for n in table] for table in tables],
            sides(dependencies), sides(multivalued),
        )
        self._init_text(text)

    @classmethod
    def _from_text(cls, text: bytes, notation: str = "auto",
                   names: str = "") -> "Schema":
        schema = cls.__new__(cls)
        schema._init_text(text, notation, names)
        return schema

    def _init_text(self, text: bytes, notation: str = "strict",
                   names: str = "") -> None:
        # Read now, so that a bad line raises here and not at the first
        # question.
        self._input = text
        self._notation = notation
        self._names = names
        self._read: Optional[Result] = None
        self._summary()

    @property
    def text(self) -> bytes:
        """The schema as an input file for fdcheck and fdtools."""
        return self._input

    def _summary(self) -> Result:
        if self._read is None:
            self._read = self._ask("closure")
        return self._read

    @property
    def attributes(self) -> List[str]:
        """Every attribute, in attribute order (unsigned byte order)."""
        return list(self._summary()["attributes"])

    @property
    def tables(self) -> List[frozenset]:
        """The decomposition: the tables as given, or the one table of every
        attribute when none was given."""
        return list(self._summary()["tables"])

    def _of_kind(self, kind: str) -> List[Tuple[frozenset, frozenset]]:
        # Without MVDs the entries have no "kind": all are FDs.
        return [(d["left"], d["right"]) for d in self._summary()["dependencies"]
                if d.get("kind", "fd") == kind]

    @property
    def dependencies(self) -> List[Tuple[frozenset, frozenset]]:
        """The functional dependencies in input order, as (left, right)."""
        return self._of_kind("fd")

    @property
    def multivalued(self) -> List[Tuple[frozenset, frozenset]]:
        """The multivalued dependencies (X ->> Y) in input order."""
        return self._of_kind("mvd")

    def _ask(self, command: str, *, second: Optional["Schema"] = None,
             attributes: bytes = b"", bcnf: bool = False, three_nf: bool = False,
             four_nf: bool = False, max_keys: int = DEFAULT_MAX_KEYS,
             to: str = "", steps: bool = False) -> Result:
        return Result(self._run(command, second=second, attributes=attributes,
                                bcnf=bcnf, three_nf=three_nf, four_nf=four_nf,
                                max_keys=max_keys, to=to, steps=steps))

    def _run(self, command: str, *, second: Optional["Schema"] = None,
             attributes: bytes = b"", bcnf: bool = False,
             three_nf: bool = False, four_nf: bool = False,
             max_keys: int = DEFAULT_MAX_KEYS, to: str = "",
             steps: bool = False, format: str = "json") -> str:
        # Both inputs are read in this schema's notation.
        return _engine.run(
            command, self._input, None if second is None else second._input,
            attributes, bcnf, three_nf, four_nf, max_keys, self._notation,
            self._names, to, steps, format)

    def convert(self, to: Optional[str] = None) -> Result:
        """The schema in the other notation (or ``to``: "strict" or
        "exercise"); ``["convert"]["text"]`` is the text."""
        if to not in (None, "strict", "exercise"):
            raise ValueError(f"unknown notation: {to!r} (strict or exercise)")
        return self._ask("convert", to=to or "")

    # With ``steps=True`` each answer also holds its steps, as
    # ``fdtools --json --steps`` gives them.

    def closure(self, attributes: Iterable[str], steps: bool = False) -> Result:
        """``{"closure": {"of", "closure"}}``: X+ of the given names; with
        MVDs also ``"basis"``, the blocks of the dependency basis."""
        names = _engine.name_list([_bytes(n) for n in attributes])
        return self._ask("closure", attributes=names, steps=steps)

    def keys(self, max_keys: int = DEFAULT_MAX_KEYS,
             steps: bool = False) -> Result:
        """Every candidate key (up to ``max_keys``) and the prime attributes."""
        return self._ask("keys", max_keys=max_keys, steps=steps)

    def cover(self, steps: bool = False) -> Result:
        """A minimal cover."""
        return self._ask("cover", steps=steps)

    def normal_forms(self, max_keys: int = DEFAULT_MAX_KEYS,
                     steps: bool = False) -> Result:
        """The form of the schema and of each table, with violations."""
        return self._ask("normal-forms", max_keys=max_keys, steps=steps)

    def lossless(self, steps: bool = False) -> Result:
        """Whether the join of the tables is lossless, with the chase."""
        return self._ask("lossless", steps=steps)

    def preserve(self, steps: bool = False) -> Result:
        """Each dependency preserved or lost, pass by pass."""
        return self._ask("preserve", steps=steps)

    def synthesize(self, bcnf: bool = False, four_nf: bool = False,
                   steps: bool = False) -> Result:
        """The 3NF synthesis, or BCNF splits, or 4NF splits on the FDs and
        MVDs; ``["synthesis"]["file"]`` is the decomposition as an input
        file."""
        if bcnf and four_nf:
            raise ValueError("bcnf and four_nf exclude each other")
        return self._ask("synthesize", bcnf=bcnf, four_nf=four_nf, steps=steps)

    def report(self, max_keys: int = DEFAULT_MAX_KEYS,
               steps: bool = False) -> Result:
        """Keys, cover, normal forms, lossless join and preservation."""
        return self._ask("report", max_keys=max_keys, steps=steps)

    def worked_solution(self, format: str = "markdown",
                        command: str = "report",
                        max_keys: int = DEFAULT_MAX_KEYS) -> str:
        """The worked solution of ``command`` with every step, as
        ``fdtools --format latex|markdown`` writes it."""
        if format not in ("latex", "markdown"):
            raise ValueError(f"unknown format: {format!r} (latex or markdown)")
        return self._run(command, max_keys=max_keys, format=format)


def read(text: Union[str, bytes], notation: str = "auto",
         names: Optional[str] = None) -> Schema:
    """A schema from an input text.

    ``notation`` is "strict" (the format of fdcheck), "exercise" (R(A, B, C)
    and AB -> C, as textbooks write them) or "auto", which takes the
    exercise notation when the text looks like it. ``names`` ("letters" or
    "words") says how the exercise notation reads a run of letters;
    without it the input decides, and the answers' ``["input"]`` says how
    it was read.
    """
    if notation not in ("auto", "strict", "exercise"):
        raise ValueError(f"unknown notation: {notation!r} (auto, strict or exercise)")
    if names not in (None, "letters", "words"):
        raise ValueError(f"unknown names: {names!r} (letters or words)")
    return Schema._from_text(_text(text), notation, names or "")


def read_file(path: Union[str, "os.PathLike[str]"], notation: str = "auto",
              names: Optional[str] = None) -> Schema:
    """A schema from a file, read as fdtools reads one (CR LF as LF, a byte
    0x1A ends it); ``notation`` and ``names`` as for :func:`read`."""
    return read(_engine.read_file(os.fspath(path)), notation, names)


def equivalent(a: Schema, b: Schema) -> Result:
    """Whether the two dependency sets are equivalent (tables play no part)."""
    return a._ask("equivalent", second=b)


def check_cover(schema: Schema, cover: Schema) -> Result:
    """Whether ``cover``'s dependencies are a minimal cover of ``schema``'s,
    property by property with witnesses."""
    return schema._ask("check-cover", second=cover)


def check_decomposition(schema: Schema, form: Optional[str] = None,
                        max_keys: int = DEFAULT_MAX_KEYS) -> Result:
    """Whether the schema's tables are lossless, preserving and, with
    ``form`` "3NF", "BCNF" or "4NF", every one in that form."""
    if form not in (None, "3NF", "BCNF", "4NF"):
        raise ValueError(f"unknown form: {form!r} (None, '3NF', 'BCNF' or '4NF')")
    return schema._ask("check-decomposition", three_nf=form == "3NF",
                       bcnf=form == "BCNF", four_nf=form == "4NF",
                       max_keys=max_keys)

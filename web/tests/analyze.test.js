// The engine compiled for the page must answer exactly as the native
// fdtools --json does: same engine, same bytes. Every example and a few
// hundred generated inputs, through every command.
//
// Environment: FDTOOLS_JS (the built fdtools.js), FDTOOLS_NATIVE (the
// native fdtools), FDTOOLS_EXAMPLES (the examples folder).
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const {execFileSync} = require('node:child_process');

const createFdtools = require(process.env.FDTOOLS_JS);
const native = process.env.FDTOOLS_NATIVE;
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'fdtools-web-'));

// Each case: the command and its options, for the page and for fdtools.
const COMMANDS = [
  ['report', {}, []],
  ['keys', {maxKeys: 5}, ['--max-keys', '5']],
  ['cover', {}, []],
  ['normal-forms', {}, []],
  ['lossless', {}, []],
  ['preserve', {}, []],
  ['synthesize', {}, []],
  ['synthesize', {bcnf: true}, ['--bcnf']],
  ['check-decomposition', {threeNf: true}, ['--3nf']],
  ['synthesize', {fourNf: true}, ['--4nf']],
  ['check-decomposition', {fourNf: true}, ['--4nf']],
  ['report', {steps: true}, ['--steps']],
  ['closure', {steps: true, attributes: 'A'}, ['--steps']],
  ['synthesize', {steps: true}, ['--steps']],
  ['synthesize', {bcnf: true, steps: true}, ['--bcnf', '--steps']],
];

function runNative(args) {
  try {
    return {status: 0, stdout: execFileSync(native, args, {encoding: 'utf8'})};
  } catch (error) {
    return {status: error.status, stdout: error.stdout};
  }
}

function compare(engine, name, text) {
  const file = path.join(work, name);
  fs.writeFileSync(file, text);
  for (const [command, options, flags] of COMMANDS) {
    const fromPage = engine.analyze(command, text, JSON.stringify(options));
    const fromNative = runNative(['--json', command, ...flags, file,
      ...(options.attributes ? [options.attributes] : [])]);
    if (fromNative.status === 2) {
      assert.ok(JSON.parse(fromPage).error, `${name} ${command}: expected an error`);
      continue;
    }
    assert.strictEqual(fromPage, fromNative.stdout, `${name}: ${command} ${flags.join(' ')}`);
  }
  // The worked solutions the page offers for download.
  for (const format of ['latex', 'markdown']) {
    const fromPage = JSON.parse(engine.analyze('report', text, JSON.stringify({format})));
    const fromNative = runNative(['--format', format, 'report', file]);
    if (fromNative.status === 2) {
      assert.ok(fromPage.error, `${name} ${format}: expected an error`);
      continue;
    }
    assert.strictEqual(fromPage.document, fromNative.stdout, `${name}: ${format}`);
  }
}

// A small random schema: names from a pool that holds spaces, quotes,
// commas inside quotes and non-ASCII letters (all valid UTF-8).
function randomInput(random) {
  const pool = ['A', 'B', 'C', 'D', 'E', 'F', 'G', 'Stra\u00dfe', '\u540d\u524d', 'a b', "'x,y'", 'id'];
  const count = 2 + Math.floor(random() * 7);
  const names = pool.slice(0, count);
  const pick = (max) => {
    const chosen = new Set();
    const size = Math.floor(random() * (max + 1));
    for (let i = 0; i < size; i++) chosen.add(names[Math.floor(random() * names.length)]);
    return [...chosen];
  };
  const lines = [];
  const tables = Math.floor(random() * 4);
  for (let t = 0; t < tables; t++) {
    const table = pick(4);
    if (table.length) lines.push(table.join(','));
  }
  lines.push('');
  const dependencies = Math.floor(random() * 7);
  // A quarter of them multivalued.
  for (let d = 0; d < dependencies; d++) {
    lines.push(pick(2).join(',') + (random() < 0.25 ? '->>' : '->') + pick(2).join(','));
  }
  return lines.join('\n') + '\n';
}

function seeded(seed) {
  let state = seed >>> 0;
  return () => {
    state = (state * 1664525 + 1013904223) >>> 0;
    return state / 4294967296;
  };
}

test('every example gives the native JSON', async () => {
  const engine = await createFdtools();
  const folder = process.env.FDTOOLS_EXAMPLES;
  const examples = fs.readdirSync(folder).filter((f) => f.endsWith('.txt'));
  assert.ok(examples.length >= 3);
  for (const example of examples) {
    compare(engine, example, fs.readFileSync(path.join(folder, example), 'utf8'));
  }
});

test('generated inputs give the native JSON', async () => {
  const engine = await createFdtools();
  const random = seeded(20261209);
  for (let i = 0; i < 300; i++) compare(engine, `generated${i}.txt`, randomInput(random));
});

test('two-file commands and closure give the native JSON', async () => {
  const engine = await createFdtools();
  const first = 'A,B\nB,C\n\nA->B\nB->C\nA->C\n';
  const second = '\nA->B\nB->C\n';
  fs.writeFileSync(path.join(work, 'first.txt'), first);
  fs.writeFileSync(path.join(work, 'second.txt'), second);
  for (const command of ['equivalent', 'check-cover']) {
    const fromNative = runNative(['--json', command, path.join(work, 'first.txt'), path.join(work, 'second.txt')]);
    assert.strictEqual(engine.analyze(command, first, JSON.stringify({second})), fromNative.stdout, command);
  }
  const closure = runNative(['--json', 'closure', path.join(work, 'first.txt'), 'A']);
  assert.strictEqual(engine.analyze('closure', first, JSON.stringify({attributes: 'A'})), closure.stdout);
});

test('errors come back as JSON, never as an exception', async () => {
  const engine = await createFdtools();
  const cases = [
    ['keys', 'A\n\nno arrow here\n', '{}', /line 3: no "->"/],
    ['keys', 'A\n\nA->B\n', '{"maxKeys": "many"}', /must be number/],
    ['keys', 'A\n\nA->B\n', '{"maxKeys": 0}', /at least 1/],
    ['keys', 'A\n', 'not json', /not a JSON object/],
    ['closure', 'A\n', '{"attributes": "Z"}', /not in the schema: Z/],
    ['frobnicate', 'A\n', '{}', /unknown command/],
  ];
  for (const [command, text, options, pattern] of cases) {
    const answer = JSON.parse(engine.analyze(command, text, options));
    assert.match(answer.error, pattern, `${command} ${options}`);
  }
});

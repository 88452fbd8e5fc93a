// The page around the engine: reads the text area, asks the engine for the
// report as JSON, and draws it. Names are untrusted text: they only ever
// reach the page as text nodes, never as markup.
'use strict';

const EXAMPLE = [
  'Student,Name,Dept', 'Dept,Faculty', 'Course,Title,Credits', 'Student,Course,Grade',
  '', 'Student->Name,Dept', 'Dept->Faculty', 'Student->Faculty',
  'Course->Title,Credits', 'Student,Course->Grade', ''].join('\n');

const $ = (id) => document.getElementById(id);
let pending = 0;

function el(tag, attributes, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes || {})) {
    if (key === 'class') node.className = value; else node.setAttribute(key, value);
  }
  for (const child of children) {
    if (child === null || child === undefined) continue;
    node.append(child instanceof Node ? child : String(child));
  }
  return node;
}

const setText = (names) => el('span', {class: 'set'}, '{' + names.join(',') + '}');
// A multivalued dependency (kind "mvd") gets the two-headed arrow.
const depText = (d) => el('span', {class: 'set'},
    '{' + d.left.join(',') + '} ' + (d.kind === 'mvd' ? '\u21a0' : '\u2192') + ' {' + d.right.join(',') + '}');
const hasMultivalued = (report) => report.dependencies.some((d) => d.kind === 'mvd');
const badge = (text, kind) => el('span', {class: 'badge ' + (kind || '')}, text);

// Long lists show their first 200 items and a button for the rest: a
// schema of thousands of dependencies would otherwise hold the page up
// drawing what nobody scrolls to.
const LIST_SHOWN = 200;

function list(items, render) {
  const ul = el('ul');
  for (const item of items.slice(0, LIST_SHOWN)) ul.append(el('li', null, render(item)));
  if (items.length <= LIST_SHOWN) return ul;
  const more = el('button', {type: 'button', class: 'showAll'}, 'Show all ' + items.length);
  more.addEventListener('click', () => {
    for (const item of items.slice(LIST_SHOWN)) ul.append(el('li', null, render(item)));
    more.remove();
  });
  return el('div', null, ul, more);
}

// The page lists up to 1,000 keys unless asked for more (the command's
// default is 10,000): it shows 200 of them at first, and on a schema with
// thousands of keys listing the rest would take most of the wait.
const MAX_KEYS_DEFAULT = 1000;
const maxKeysWanted = () => Math.max(1, parseInt($('maxKeys').value, 10) || MAX_KEYS_DEFAULT);

function fill(id, ...children) {
  const section = $(id);
  section.replaceChildren(...children.filter((c) => c !== null));
}

// The engine runs in a worker, so that the page never waits on it. A file://
// page may not load a worker's script, so the worker is made from the
// engine's own source (fdtoolsEngine, in fdtools.js). A run overtaken by a
// newer input, or cancelled, ends with its worker.
//
// A report of a large schema is megabytes of JSON: parsed, or copied in,
// in one piece it would hold the page up for over 100 ms. The worker parses
// it and sends it in parts of about PART_NODES values each, every part a
// task of its own on the page: first the report with its heavy lists
// emptied, then their items, a list's items always after the list.
const PART_NODES = 20000;
const WORKER_BODY = `
const ready = createFdtools();
${splitReport.toString()}
onmessage = async (event) => {
  const engine = await ready;
  const {id, command, text, options} = event.data;
  const report = JSON.parse(engine.analyze(command, text, options));
  const parts = splitReport(report, ${PART_NODES});
  postMessage({id, report, parts: parts.length});
  for (const part of parts) postMessage({id, path: part.path, items: part.items});
};`;

// Empties each list in `report` that holds more than `limit` values in all
// and returns its items as parts {path, items} of at most about `limit`
// values, in the order they can be put back: a list before the lists
// inside its items. Runs in the worker.
function splitReport(report, limit) {
  const parts = [];
  const pathOf = (at) => {
    const path = [];
    for (let p = at; p.parent !== null; p = p.parent) path.unshift(p.key);
    return path;
  };
  // Returns how many values `value` still holds once split.
  const weigh = (value, at) => {
    if (value === null || typeof value !== 'object') return 1;
    if (!Array.isArray(value)) {
      let total = 1;
      for (const key of Object.keys(value)) total += weigh(value[key], {parent: at, key});
      return total;
    }
    const weights = value.map((item, key) => weigh(item, {parent: at, key}));
    const total = weights.reduce((sum, w) => sum + w, 1);
    if (total <= limit) return total;
    const path = pathOf(at);
    const items = value.splice(0);
    let from = 0;
    let load = 0;
    for (let i = 0; i < items.length; ++i) {
      if (i > from && load + weights[i] > limit) {
        parts.push({path, items: items.slice(from, i)});
        from = i;
        load = 0;
      }
      load += weights[i];
    }
    parts.push({path, items: items.slice(from)});
    return 1;
  };
  weigh(report, {parent: null, key: null});
  // A stable sort: the parts of one list keep their order.
  return parts.sort((a, b) => a.path.length - b.path.length);
}

// Puts a part from splitReport back where it was taken from.
function mergePart(report, path, items) {
  let list = report;
  for (const key of path) list = list[key];
  for (const item of items) list.push(item);
}

let worker = null;
let workerUrl = null;
let nextRequest = 0;
// Requests the worker has not answered in full yet: id -> {resolve, reject,
// report, partsLeft}.
const waiting = new Map();

class Cancelled extends Error {}

function finish(id, request) {
  waiting.delete(id);
  request.resolve(request.report);
  if (waiting.size === 0) setWorking(false);
}

function startWorker() {
  if (!workerUrl) {
    const source = 'const createFdtools = (' + fdtoolsEngine.toString() + ')();\n' + WORKER_BODY;
    workerUrl = URL.createObjectURL(new Blob([source], {type: 'text/javascript'}));
  }
  worker = new Worker(workerUrl);
  worker.onmessage = (event) => {
    const {id, report, parts, path, items} = event.data;
    const request = waiting.get(id);
    if (!request) return;
    if (report !== undefined) {
      request.report = report;
      request.partsLeft = parts;
    } else {
      mergePart(request.report, path, items);
      --request.partsLeft;
    }
    if (request.partsLeft === 0) finish(id, request);
  };
  worker.onerror = (event) => {
    for (const request of waiting.values()) request.reject(new Error(event.message));
    waiting.clear();
    setWorking(false);
  };
}

function analyze(command, text, options) {
  if (!worker) startWorker();
  const id = ++nextRequest;
  setWorking(true);
  return new Promise((resolve, reject) => {
    waiting.set(id, {resolve, reject});
    worker.postMessage({id, command, text, options: JSON.stringify(options)});
  });
}

// Ends whatever the engine is doing: its answers are not wanted any more.
function cancelWork() {
  if (waiting.size === 0) return;
  worker.terminate();
  worker = null;
  for (const request of waiting.values()) request.reject(new Cancelled('cancelled'));
  waiting.clear();
  setWorking(false);
}

// What the status said before the engine was asked, to show again after.
let statusBefore = '';

function setWorking(working) {
  const status = $('status');
  const busy = status.textContent === 'working\u2026';
  if (working && !busy) statusBefore = status.textContent;
  if (!working && busy) status.textContent = statusBefore;
  if (working) status.textContent = 'working\u2026';
  $('cancel').hidden = !working;
}

// Runs `work`, and drops its result quietly when it was cancelled.
async function unlessCancelled(work) {
  try {
    return await work();
  } catch (error) {
    if (error instanceof Cancelled) return undefined;
    throw error;
  }
}

// "table 2", or the table's own name in the exercise notation.
const tableLabel = (report, i) => (report.tableNames ? report.tableNames[i] : 'table ' + i);

function drawOverview(report) {
  const readAs = report.input.notation === 'exercise'
    ? 'exercise notation, ' + (report.input.lettersAsNames ? 'one letter per attribute' : 'names as words')
    : 'strict format (fdcheck)';
  fill('overview',
    el('p', {id: 'readAs'}, 'Read as: ' + readAs),
    el('h3', null, 'Attributes (' + report.attributes.length + ')'), setText(report.attributes),
    el('h3', null, 'Tables'), list(report.tables.map((t, i) => [t, i]),
      ([t, i]) => el('span', null, tableLabel(report, i) + ': ', setText(t))),
    el('h3', null, 'Dependencies'), list(report.dependencies.map((d, i) => [d, i]),
      ([d, i]) => el('span', null, i + ': ', depText(d))),
    report.warnings.length ? el('h3', null, 'Warnings') : null,
    report.warnings.length ? list(report.warnings, (w) => w) : null);
}

function drawKeys(keys) {
  fill('keys',
    el('p', null, keys.keys.length + ' candidate key' + (keys.keys.length === 1 ? '' : 's'),
       keys.complete ? '' : ' (not all: the enumeration stopped at its limit)'),
    list(keys.keys, setText),
    el('p', null, 'Prime attributes: ', setText(keys.prime)),
    stepsBox('keys'));
}

function drawCover(cover) {
  fill('cover', el('p', null, 'A minimal cover, ' + cover.length + ' dependencies:'),
       list(cover, depText), stepsBox('cover'));
}

function formCard(title, nf) {
  const card = el('div', {class: 'card'}, el('strong', null, title + ' '), setText(nf.attributes), ' ');
  if (!nf.decided) {
    card.append(badge('undecided'), el('p', {class: 'muted'}, nf.reason));
    return card;
  }
  const good = nf.form === '4NF' || nf.form === 'BCNF';
  card.append(badge(nf.form, good ? 'good' : nf.form === '3NF' ? '' : 'bad'));
  card.append(el('div', null, nf.keysComplete === false ? 'Keys (not all listed): ' : 'Keys: ',
                 ...nf.keys.map((k, i) => [i ? ', ' : '', setText(k)]).flat()));
  if (nf.coverComplete === false) {
    card.append(el('p', {class: 'muted'}, 'The dependencies that hold in this table are too many to list; ' +
                   'the form is decided without them.'));
  }
  if (nf.cover.length) card.append(el('div', null, 'Holds: '), list(nf.cover, depText));
  if (nf.violations.length) {
    card.append(el('div', null, 'Violations:'), list(nf.violations, (v) =>
      el('span', {class: 'violation'}, depText(v), ' breaks ' + v.violates.join(', '))));
  }
  return card;
}

function drawForms(report) {
  const forms = report.normalForms;
  fill('forms', formCard('Whole schema', forms.schema),
       ...forms.tables.map((t, i) => formCard(report.tableNames ? report.tableNames[i] : 'Table ' + i, t)),
       stepsBox('forms'));
}

// A tableau too large to send whole comes as its changed cells.
function drawCompactTableau(chase, tableCount) {
  const compact = chase.compactTableau;
  const byRow = new Map();
  for (const c of compact.changed) {
    if (!byRow.has(c.row)) byRow.set(c.row, []);
    byRow.get(c.row).push(c.column + ' ' + c.symbol);
  }
  const items = [...byRow].map(([row, cells]) => el('li', null, 'row ' + row + ': ' + cells.join(', ')));
  const shown = 200;
  const list = el('ul', {id: 'tableau'}, ...items.slice(0, shown));
  let more = null;
  if (items.length > shown) {
    more = el('button', {type: 'button', id: 'showAllRows'}, 'Show all ' + items.length + ' rows');
    more.addEventListener('click', () => { list.append(...items.slice(shown)); more.remove(); });
  }
  return [el('p', null, 'The tableau has ' + tableCount + ' rows of ' + compact.columns
             + ' columns, too many cells to draw: every cell is as it started (a where the row\'s table has the '
             + 'attribute, the row\'s own unknown elsewhere) except these ' + compact.changed.length
             + '. Rows all distinguished: ' + (compact.distinguishedRows.join(', ') || 'none') + '.'),
          list, more].filter(Boolean);
}

function drawLossless(report) {
  const chase = report.lossless;
  if (chase.compactTableau) {
    const verdict = el('p', null, 'The join is ', badge(chase.lossless ? 'lossless' : 'lossy', chase.lossless ? 'good' : 'bad'), '.');
    fill('lossless', verdict, ...drawCompactTableau(chase, report.tables.length), stepsBox('lossless'));
    return;
  }
  const head = el('tr', null, el('th', null, 'table'), ...report.attributes.map((a) => el('th', null, a)));
  // Rows after one per table are those that multivalued dependencies added.
  const rows = chase.tableau.map((row, r) => {
    const all = row.every((c) => c === 'a');
    const label = r < report.tables.length ? String(r) : r + ' (added)';
    return el('tr', all ? {class: 'distinguished'} : null, el('th', null, label + (all ? ' \u2713' : '')),
              ...row.map((c) => el('td', c === 'a' ? {class: 'a'} : null, c)));
  });
  const verdict = chase.decided === false
    ? el('p', null, 'The join is ', badge('undecided'), ': ' + chase.reason + '.')
    : el('p', null, 'The join is ', badge(chase.lossless ? 'lossless' : 'lossy', chase.lossless ? 'good' : 'bad'),
       !chase.lossless ? ': no row of the final chase tableau is all distinguished; the tableau is a counterexample.'
       : chase.tableau.some((row) => row.every((c) => c === 'a'))
         ? ': a row of the final chase tableau is all distinguished (a).'
         : ': the chase outgrew its limits, but the tables join losslessly pair by pair (each on a shared part '
           + 'that multidetermines one side); below, their rows.');
  fill('lossless', verdict,
    el('div', {class: 'scroll'}, el('table', {class: 'grid', id: 'tableau'}, head, ...rows)),
    stepsBox('lossless'));
}

function drawPreservation(report) {
  const p = report.preservation;
  fill('preserve',
    el('p', null, p.preserved ? 'Every dependency is preserved.' : 'Some dependencies are lost.'),
    p.passesComplete === false
      ? el('p', {class: 'muted'}, 'The passes of the later dependencies are too long to show; their verdicts stand.')
      : null,
    ...p.dependencies.map((d, i) => {
      const card = el('div', {class: 'card ' + (d.preserved ? 'preserved' : 'lost')},
        el('strong', null, 'Dependency ' + i + ' '), depText(d), ' ', badge(d.preserved ? 'preserved' : 'lost'));
      // A dependency past the limit comes without its passes.
      if (d.steps) card.append(list(d.steps, (s) => el('span', null, 'pass ' + s.pass + ', table ' + s.table + ' adds ', setText(s.added))));
      if (d.reached) card.append(el('div', null, 'Reaches: ', setText(d.reached)));
      if (!d.preserved) card.append(el('div', {class: 'violation'}, 'Missing: ', setText(d.missing)));
      return card;
    }),
    stepsBox('preserve'));
}

// "Show steps": drawn when opened, from a run of the engine with steps for
// that tab's command alone, so that editing the input stays as fast.
const STEPS_COMMAND = {keys: 'keys', cover: 'cover', forms: 'normal-forms', lossless: 'lossless', preserve: 'preserve'};
// The tabs whose steps are open: they stay open when the input changes.
const openSteps = new Set();

function stepsBox(tab) {
  const body = el('div');
  const box = el('details', {class: 'steps', id: 'steps-' + tab}, el('summary', null, 'Show steps'), body);
  box.addEventListener('toggle', () => {
    if (!box.open) {
      openSteps.delete(tab);
      return;
    }
    openSteps.add(tab);
    if (body.hasChildNodes()) return;
    body.replaceChildren(el('p', {class: 'muted'}, 'working\u2026'));
    unlessCancelled(() => drawSteps(tab)).then((nodes) => {
      if (nodes) body.replaceChildren(...nodes.filter((n) => n !== null));
    });
  });
  if (openSteps.has(tab)) box.open = true;
  return box;
}

const numbered = (items, render) => el('ol', null, ...items.map((item) => el('li', null, ...[render(item)].flat())));
const joinedNodes = (nodes) => nodes.map((n, i) => [i ? ', ' : '', n]).flat();
// A chase symbol with its column: two unknowns never look alike.
const symbolName = (cell, column) => (cell === 'a' ? 'a' : cell + ',' + column);
const cutShort = (complete) => (complete === false
  ? el('p', {class: 'muted'}, 'The steps stop here: a list of steps is cut at its limit.') : null);

const STEP_DRAWERS = {
  keys: (r) => [numbered(r.keys.steps, (s) => {
    if (s.rule === 'inEveryKey') return ['On no right side of the cover, so in every key: ', setText(s.attributes)];
    if (s.rule === 'inNoKey') return ['On right sides only, so in no key: ', setText(s.attributes)];
    return ['The closure of ', setText(s.key), ' is ', setText(s.closure), ', every attribute',
      ...(s.without.length ? ['; with one attribute less it is not: ',
        ...s.without.map((w, i) => [i ? '; ' : '', 'without ' + w.attribute + ', ', setText(w.closure)]).flat()] : [])];
  }), cutShort(r.keys.stepsComplete)],
  cover: (r) => [r.coverSteps.steps.length ? numbered(r.coverSteps.steps, (s) => {
    const d = s.dependency;
    if (s.rule === 'split') {
      return s.into.length ? ['Split ', depText(d), ' into ', ...joinedNodes(s.into.map(depText))]
        : [depText(d), ' is trivial (its right side lies in its left side) and goes'];
    }
    if (s.rule === 'extraneous') {
      return [s.attribute + ' is extraneous in ', depText(d), ': the closure of ',
        setText(d.left.filter((a) => a !== s.attribute)), ' is ', setText(s.closure), ', which holds ', setText(d.right)];
    }
    return [depText(d), ' is redundant: without it, the closure of ', setText(d.left), ' is ', setText(s.closure),
      ', which holds ', setText(d.right)];
  }) : el('p', null, 'The dependencies are a minimal cover already.'), cutShort(r.coverSteps.stepsComplete)],
  forms: (r) => {
    const f = r.normalForms;
    const relations = [['Whole schema', f.schema], ...f.tables.map((t, i) => [tableLabel(r, i), t])];
    const parts = relations.filter(([, nf]) => nf.decided && nf.violations.length).map(([title, nf]) =>
      el('div', null, el('strong', null, title + ' '), setText(nf.attributes),
        list(nf.violations, (v) => el('span', null, depText(v), ' breaks ' + v.violates.join(', ') + ': the closure of ',
          setText(v.left), ' within it is ', setText(v.reason.leftClosure), ', not every attribute, so ',
          setText(v.left), ' is no superkey',
          ...(v.kind === 'mvd' ? [] : ['; ', setText(v.right), v.reason.rightPrime ? ' is prime' : ' is not prime']),
          ...(v.reason.partOfKey ? ['; ', setText(v.left), ' is a proper part of the key ', setText(v.reason.partOfKey)] : [])))));
    return parts.length ? parts : [el('p', null, 'No violations: every relation is in its strongest form.')];
  },
  lossless: (r) => {
    const chase = r.lossless;
    if (!chase.steps) return [el('p', null, 'No steps for the chase with multivalued dependencies: only its answer.')];
    const head = el('tr', null, el('th', null, 'row'), ...r.attributes.map((a) => el('th', null, a)));
    const rows = chase.initial.map((row, i) => el('tr', null, el('th', null, String(i)),
      ...row.map((c, a) => el('td', c === 'a' ? {class: 'a'} : null, symbolName(c, r.attributes[a])))));
    return [el('p', null, 'The initial tableau: one row per table, a where the table has the attribute.'),
      el('div', {class: 'scroll'}, el('table', {class: 'grid', id: 'initialTableau'}, head, ...rows)),
      chase.steps.length ? numbered(chase.steps, (s) => [depText(s.dependency),
        ': rows ' + s.rows[0] + ' and ' + s.rows[1] + ' agree on ', setText(s.dependency.left),
        ', so in column ' + s.column + ', ' + symbolName(s.from, s.column) + ' becomes ' + symbolName(s.to, s.column)])
        : el('p', null, 'No dependency applies: the initial tableau is the final one.'),
      cutShort(chase.stepsComplete)];
  },
  preserve: (r) => {
    const lost = r.preservation.dependencies.filter((d) => !d.preserved);
    return lost.length ? [list(lost, (d) => el('span', null, depText(d), ': ' + d.why))]
      : [el('p', null, 'Every dependency is preserved: each one\'s passes above reach its right side.')];
  },
};

async function drawSteps(tab) {
  const maxKeys = maxKeysWanted();
  const result = await analyze(STEPS_COMMAND[tab], $('input').value, {maxKeys, steps: true});
  return result.error ? [el('p', null, result.error)] : STEP_DRAWERS[tab](result);
}

function synthesisSteps(steps, method) {
  return numbered(steps, (s) => {
    switch (s.rule) {
      case 'cover': return ['Start from the minimal cover: ', ...joinedNodes(s.cover.map(depText))];
      case 'table': return ['Table ', setText(s.table), ' from the left side ', setText(s.left), ' and its right sides ', setText(s.right)];
      case 'split': if (s.byPairs) {
        return ['Node ' + s.node + ', ', setText(s.table), ': ', depText(s.dependency),
          ' holds in it and its first part passes the pair test (no A, B in it with A in its closure without A and B), ' +
          'so that part is in ' + method + ' and it splits into nodes ' + s.children.join(' and ')];
      }
      return ['Node ' + s.node + ', ', setText(s.table), ': ', depText(s.dependency), ' breaks ' + method + ' (',
        setText(s.dependency.left), ' is no superkey of it), so it splits into nodes ' + s.children.join(' and ')];
      case 'leaf': return ['Node ' + s.node + ', ', setText(s.table), ': in ' + method];
      case 'removed': return [setText(s.table), ' lies inside ', setText(s.inside), ' and goes'];
      case 'keyAdded': return ['No table determines every attribute, so the key ', setText(s.key), ' is added as a table'];
      default: return [setText(s.table), ' determines every attribute through the tables\' own dependencies, so no key table is needed'];
    }
  });
}

async function downloadDocument(format) {
  const maxKeys = maxKeysWanted();
  const result = await analyze('report', $('input').value, {maxKeys, format});
  if (result.error) {
    $('status').textContent = 'cannot write the worked solution: ' + result.error;
    return;
  }
  download(format === 'latex' ? 'fdtools-solution.tex' : 'fdtools-solution.md', result.document);
}

function download(name, text) {
  const link = el('a', {href: URL.createObjectURL(new Blob([text], {type: 'text/plain'})), download: name});
  document.body.append(link);
  link.click();
  link.remove();
}

async function drawSynthesis(text, maxKeys, multivalued) {
  const methods = multivalued ? ['3NF', 'BCNF', '4NF'] : ['3NF', 'BCNF'];
  const results = [];
  for (const method of methods) {
    results.push(await analyze('synthesize', text, {maxKeys, bcnf: method === 'BCNF', fourNf: method === '4NF', steps: true}));
  }
  const cards = methods.map((method, i) => {
    const result = results[i];
    if (result.error) return el('div', {class: 'card'}, el('strong', null, method + ': '), result.error);
    const s = result.synthesis;
    const file = s.file;
    const button = el('button', {'data-method': method}, 'Download as input file');
    button.addEventListener('click', () => download('input-' + method.toLowerCase() + '.txt', file));
    return el('div', {class: 'card'}, el('strong', null, method + ' decomposition '),
      badge(s.lossless ? 'lossless' : 'lossy', s.lossless ? 'good' : 'bad'), ' ',
      badge(s.preserved ? 'preserving' : 'not preserving', s.preserved ? 'good' : 'bad'),
      list(s.tables, setText),
      s.lost.length ? el('div', {class: 'violation'}, 'Lost: ', ...s.lost.map((d, i) => [i ? ', ' : '', depText(d)]).flat()) : null,
      button,
      el('details', {class: 'steps'}, el('summary', null, 'Show steps'), synthesisSteps(s.steps, method)));
  });
  fill('synthesis', ...cards);
  return true;
}

let synthesisFor = null;
// Whether the last input read had multivalued dependencies: then 4NF too.
let lastMultivalued = false;

function showSynthesis() {
  const text = $('input').value;
  const maxKeys = maxKeysWanted();
  const key = maxKeys + '\n' + text;
  if (synthesisFor === key) return;
  synthesisFor = key;
  unlessCancelled(() => drawSynthesis(text, maxKeys, lastMultivalued)).then((done) => {
    // Cancelled: drawn again when next shown.
    if (done === undefined && synthesisFor === key) synthesisFor = null;
  });
}

function showError(message) {
  const box = $('error');
  box.textContent = message || '';
  box.style.display = message ? 'block' : 'none';
}

// The examples of the menu: both notations, a lossy join, a lost
// dependency and an MVD.
const EXAMPLES = [
  ['Students and courses (fdcheck format)', EXAMPLE],
  ['A textbook exercise (R(A, B, C, D, E))', 'R(A, B, C, D, E)\nAB -> C, C -> D, D -> E\nR1(A, B, C)\nR2(C, D, E)\n'],
  ['Words as names (Student(Id, Name, Dept))', 'Student(Id, Name, Dept, Faculty)\nId -> Name, Dept\nDept -> Faculty\n'],
  ['A lossy join', 'R(A, B, C)\nA -> B\nR1(A, B)\nR2(B, C)\n'],
  ['A dependency that is lost', 'Address(Street, City, Zip)\nStreet, City -> Zip\nZip -> City\nR1(Street, Zip)\nR2(City, Zip)\n'],
  ['Multivalued dependencies (4NF)', 'CTB(Course, Teacher, Book)\nCourse ->> Teacher\nCT(Course, Teacher)\nCB(Course, Book)\n'],
];

// The link: #tab=keys&maxKeys=10&input=..., the input last; each value
// percent-encoded. Older links hold only #input=...
function readFragment() {
  const fields = {};
  const hash = location.hash.slice(1);
  if (!hash) return {fields};
  for (const part of hash.split('&')) {
    const at = part.indexOf('=');
    if (at < 0) continue;
    try {
      fields[part.slice(0, at)] = decodeURIComponent(part.slice(at + 1));
    } catch (error) {
      return {fields, broken: 'This link is broken (' + part.slice(0, at) + ' cannot be decoded): ' +
        'it was cut short or changed. Type or open an input instead.'};
    }
  }
  return {fields};
}

function currentTab() {
  const tab = document.querySelector('nav [aria-selected="true"]');
  return tab ? tab.dataset.tab : 'overview';
}

function writeFragment(text, maxKeys) {
  const hash = '#tab=' + currentTab() + '&maxKeys=' + maxKeys + '&input=' + encodeURIComponent(text);
  lastFragment = hash;
  history.replaceState(null, '', hash);
}

let lastFragment = null;

function markOutdated(outdated) {
  $('results').classList.toggle('stale', outdated);
  for (const button of document.querySelectorAll('#results .answers button')) button.disabled = outdated;
}

function drawWarnings(warnings) {
  $('warnings').replaceChildren(...warnings.map((w) => el('li', null, w)));
}

let runs = 0;
let lastReport = null;
const drawnTabs = new Set();
const TAB_DRAWERS = {
  overview: (r) => drawOverview(r),
  keys: (r) => drawKeys(r.keys),
  cover: (r) => drawCover(r.cover),
  forms: (r) => drawForms(r),
  lossless: (r) => drawLossless(r),
  preserve: (r) => drawPreservation(r),
};

const shownTab = () => document.querySelector('#results section.shown').id;

function drawTab(tab) {
  if (!lastReport || drawnTabs.has(tab) || !TAB_DRAWERS[tab]) return;
  drawnTabs.add(tab);
  TAB_DRAWERS[tab](lastReport);
}

async function run() {
  const text = $('input').value;
  const maxKeys = maxKeysWanted();
  writeFragment(text, maxKeys);
  // A newer input overtakes whatever is still being worked out.
  cancelWork();
  const generation = ++runs;
  const started = performance.now();
  const report = await unlessCancelled(() => analyze('report', text, {maxKeys}));
  if (report === undefined || generation !== runs) return;
  if (report.error) {
    showError(report.error);
    drawWarnings([]);
    // The answers below are for the last input that could be read.
    markOutdated(true);
    $('status').textContent = '';
    document.body.dataset.analyses = String(Number(document.body.dataset.analyses || 0) + 1);
    return;
  }
  showError('');
  lastMultivalued = hasMultivalued(report);
  drawWarnings(report.warnings);
  // Each tab is drawn when first shown, and kept until the input changes.
  lastReport = report;
  drawnTabs.clear();
  for (const tab of Object.keys(TAB_DRAWERS)) {
    if (tab !== shownTab()) fill(tab);
  }
  drawTab(shownTab());
  markOutdated(false);
  // Synthesis runs the engine once per method: only when its tab is open.
  synthesisFor = null;
  if ($('synthesis').classList.contains('shown')) showSynthesis();
  $('status').textContent = 'analysed in ' + Math.round(performance.now() - started) + ' ms';
  document.body.dataset.analyses = String(Number(document.body.dataset.analyses || 0) + 1);
}

function schedule() {
  clearTimeout(pending);
  pending = setTimeout(run, 250);
}

function load(text) {
  $('input').value = text;
  run();
}

// UTF-8 when the bytes are valid UTF-8, else ISO 8859-2, the code page of
// fdcheck's own files: the engine is given text, never raw bytes.
function readFile(file) {
  const reader = new FileReader();
  reader.onload = () => {
    let text;
    try {
      text = new TextDecoder('utf-8', {fatal: true}).decode(reader.result);
    } catch (error) {
      text = new TextDecoder('iso-8859-2').decode(reader.result);
    }
    load(text);
  };
  reader.readAsArrayBuffer(file);
}

function selectTab(tab, focus) {
  for (const other of document.querySelectorAll('nav [role="tab"]')) {
    const chosen = other === tab;
    other.setAttribute('aria-selected', String(chosen));
    other.tabIndex = chosen ? 0 : -1;
  }
  if (focus) tab.focus();
  for (const section of document.querySelectorAll('#results section')) {
    section.classList.toggle('shown', section.id === tab.dataset.tab);
  }
  drawTab(tab.dataset.tab);
  if (tab.dataset.tab === 'synthesis') showSynthesis();
  writeFragment($('input').value, maxKeysWanted());
}

// The schema as a strict file for fdcheck: to the clipboard where the page
// may write it, else as a download.
async function copyStrict() {
  const result = await analyze('convert', $('input').value, {to: 'strict'});
  if (result.error) {
    $('status').textContent = 'cannot copy: ' + result.error;
    return;
  }
  const text = result.convert.text;
  try {
    await navigator.clipboard.writeText(text);
    $('status').textContent = 'copied as an fdcheck file';
  } catch (error) {
    download('input-fdcheck.txt', text);
    $('status').textContent = 'downloaded as an fdcheck file (the clipboard is not available here)';
  }
}

// Reads the link into the page; a broken one leaves an empty editor that
// works.
async function followFragment() {
  if (location.hash === lastFragment) return;
  const {fields, broken} = readFragment();
  if (broken) {
    $('input').value = '';
    await run();
    showError(broken);
    return;
  }
  if (fields.maxKeys && Number(fields.maxKeys) >= 1) $('maxKeys').value = String(Math.floor(Number(fields.maxKeys)));
  const tab = document.querySelector('nav [data-tab="' + (fields.tab || 'overview') + '"]');
  if (tab) selectTab(tab, false);
  $('input').value = fields.input !== undefined ? fields.input : EXAMPLE;
  run();
}

function start() {
  $('input').addEventListener('input', schedule);
  $('maxKeys').addEventListener('change', run);
  $('file').addEventListener('change', (e) => e.target.files[0] && readFile(e.target.files[0]));
  $('openFile').addEventListener('click', () => $('file').click());
  $('clear').addEventListener('click', () => { load(''); $('input').focus(); });
  $('copyStrict').addEventListener('click', () => unlessCancelled(copyStrict));
  $('downloadLatex').addEventListener('click', () => unlessCancelled(() => downloadDocument('latex')));
  $('downloadMarkdown').addEventListener('click', () => unlessCancelled(() => downloadDocument('markdown')));
  $('cancel').addEventListener('click', () => {
    cancelWork();
    $('status').textContent = 'cancelled';
  });
  const menu = $('examples');
  EXAMPLES.forEach(([label], i) => menu.append(el('option', {value: String(i)}, label)));
  menu.addEventListener('change', () => {
    if (menu.value !== '') load(EXAMPLES[Number(menu.value)][1]);
    menu.value = '';
  });
  const area = $('input');
  area.addEventListener('dragover', (e) => { e.preventDefault(); area.classList.add('dragging'); });
  area.addEventListener('dragleave', () => area.classList.remove('dragging'));
  area.addEventListener('drop', (e) => {
    e.preventDefault();
    area.classList.remove('dragging');
    if (e.dataTransfer.files[0]) readFile(e.dataTransfer.files[0]);
  });
  const tabs = [...document.querySelectorAll('nav [role="tab"]')];
  tabs.forEach((tab, i) => {
    tab.addEventListener('click', () => selectTab(tab, false));
    tab.addEventListener('keydown', (e) => {
      const step = {ArrowRight: 1, ArrowLeft: -1}[e.key];
      if (step) {
        e.preventDefault();
        selectTab(tabs[(i + step + tabs.length) % tabs.length], true);
      } else if (e.key === 'Home' || e.key === 'End') {
        e.preventDefault();
        selectTab(tabs[e.key === 'Home' ? 0 : tabs.length - 1], true);
      }
    });
  });
  window.addEventListener('hashchange', followFragment);
  followFragment();
}

start();

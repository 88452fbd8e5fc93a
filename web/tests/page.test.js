// The page in Debian's Chromium, headless, opened from file:// as a user
// would open it: the example's keys, a violation, the tableau and a lost
// dependency on screen; an edit changes the answer; a bad line shows its
// error; a 1,000-attribute schema is analysed in under 2 s, off the main
// thread and cancellable. Screenshots go next to the page, under
// screenshots/.
//
// Environment: FDTOOLS_PAGE (the built fdtools.html), CHROMIUM (default
// /usr/bin/chromium), FDTOOLS_GEN_INPUT (the native input generator).
'use strict';

const test = require('node:test');
const assert = require('node:assert');
const fs = require('node:fs');
const path = require('node:path');
const {execFileSync} = require('node:child_process');
let chromium;
try {
  ({chromium} = require('playwright-core'));
} catch (error) {
  throw new Error('playwright-core is not installed: run npm ci --prefix web first');
}
if (!fs.existsSync(process.env.CHROMIUM || '/usr/bin/chromium')) {
  throw new Error('no Chromium at /usr/bin/chromium: run bash install-deps.sh chromium first');
}

const pageFile = process.env.FDTOOLS_PAGE;
const shots = path.join(path.dirname(pageFile), 'screenshots');
fs.mkdirSync(shots, {recursive: true});

const ADDRESS = 'Street,Zip\nZip,City\n\nStreet,City->Zip\nZip->City\n';

let browser;

test.before(async () => {
  browser = await chromium.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    // Root has no sandbox here; the rest keeps Chromium off the network.
    // Playwright gives it a new, empty profile.
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
});

test.after(async () => {
  if (browser) await browser.close();
});

async function openPage(viewport, fragment) {
  const page = await browser.newPage({viewport});
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await page.goto('file://' + pageFile + (fragment || ''));
  await page.waitForFunction(() => Number(document.body.dataset.analyses || 0) >= 1);
  return {page, errors};
}

async function analyses(page) {
  return page.evaluate(() => Number(document.body.dataset.analyses || 0));
}

async function typeInput(page, text) {
  const before = await analyses(page);
  await page.fill('#input', text);
  await page.waitForFunction((n) => Number(document.body.dataset.analyses || 0) > n, before);
}

test('the example: keys, a violation, the tableau and a lost dependency', async () => {
  const {page, errors} = await openPage({width: 1280, height: 900});
  await page.click('nav button[data-tab="keys"]');
  assert.match(await page.textContent('#keys'), /\{Course,Student\}/);
  await page.screenshot({path: path.join(shots, 'keys.png')});

  await page.click('nav button[data-tab="forms"]');
  const violation = page.locator('#forms .violation').first();
  assert.match(await violation.textContent(), /\{Student\} \u2192 \{Dept\} breaks BCNF, 3NF, 2NF/);
  assert.strictEqual(await violation.evaluate((e) => getComputedStyle(e).color), 'rgb(179, 38, 30)');
  await page.screenshot({path: path.join(shots, 'normal-forms.png'), fullPage: true});

  await page.click('nav button[data-tab="lossless"]');
  const rows = page.locator('#tableau tr');
  assert.strictEqual(await rows.count(), 5);
  assert.strictEqual(await page.locator('#tableau tr.distinguished').count(), 1);
  assert.match(await page.locator('#tableau tr.distinguished').textContent(), /^3/);
  await page.screenshot({path: path.join(shots, 'lossless.png')});

  // Editing the text changes the answer: the address schema loses one.
  await typeInput(page, ADDRESS);
  await page.click('nav button[data-tab="preserve"]');
  const lost = page.locator('#preserve .lost');
  assert.strictEqual(await lost.count(), 1);
  assert.match(await lost.textContent(), /\{City,Street\} \u2192 \{Zip\}.*lost.*Missing: \{Zip\}/);
  await page.screenshot({path: path.join(shots, 'preservation.png'), fullPage: true});
  // The link keeps the input.
  assert.ok(decodeURIComponent(page.url()).endsWith('&input=' + ADDRESS));

  await page.click('nav button[data-tab="synthesis"]');
  // The decompositions come from the worker after the click.
  await page.locator('#synthesis button').nth(1).waitFor();
  assert.strictEqual(await page.locator('#synthesis button').count(), 2);
  const [download] = await Promise.all([
    page.waitForEvent('download'),
    page.click('#synthesis button[data-method="3NF"]'),
  ]);
  const saved = path.join(shots, 'downloaded-3nf.txt');
  await download.saveAs(saved);
  assert.strictEqual(fs.readFileSync(saved, 'utf8'), 'City,Street,Zip\n\nStreet,City->Zip\nZip->City\n');
  assert.deepStrictEqual(errors, []);
  await page.close();
});

const STEPS = 'A,B,C\nC,D\nB,E\n\nA,B->C,D,A\nC->A\nA,C->D\nD->E\nA,B->E\n';

test('Show steps: the cover and the chase, kept open across edits; worked solutions to download', async () => {
  const {page, errors} = await openPage({width: 1280, height: 900});
  await typeInput(page, STEPS);
  await page.click('nav button[data-tab="cover"]');
  await page.click('#steps-cover summary');
  // The steps are drawn when the box opens, once the toggle event is in.
  await page.waitForSelector('#steps-cover li');
  const moves = page.locator('#steps-cover li');
  assert.strictEqual(await moves.count(), 4);
  assert.match(await moves.nth(0).textContent(), /^Split \{A,B\} \u2192 \{A,C,D\} into \{A,B\} \u2192 \{C\}, \{A,B\} \u2192 \{D\}$/);
  assert.match(await moves.nth(1).textContent(),
    /^A is extraneous in \{A,C\} \u2192 \{D\}: the closure of \{C\} is \{A,C,D,E\}, which holds \{D\}$/);
  assert.match(await moves.nth(2).textContent(), /^\{A,B\} \u2192 \{D\} is redundant/);
  assert.doesNotMatch(await page.textContent('#steps-cover'), /null|undefined/);
  await page.screenshot({path: path.join(shots, 'cover-steps.png'), fullPage: true});

  await page.click('nav button[data-tab="lossless"]');
  await page.click('#steps-lossless summary');
  await page.waitForSelector('#steps-lossless li');
  assert.strictEqual(await page.locator('#initialTableau tr').count(), 4);
  assert.match(await page.locator('#initialTableau tr').nth(2).textContent(), /^1b1,Ab1,Baab1,E$/);
  const chase = page.locator('#steps-lossless li');
  assert.strictEqual(await chase.count(), 3);
  assert.strictEqual(await chase.nth(0).textContent(),
    '{C} \u2192 {A}: rows 0 and 1 agree on {C}, so in column A, b1,A becomes a');
  assert.strictEqual(await chase.nth(2).textContent(),
    '{D} \u2192 {E}: rows 0 and 1 agree on {D}, so in column E, b1,E becomes b0,E');
  assert.doesNotMatch(await page.textContent('#steps-lossless'), /null|undefined/);
  await page.screenshot({path: path.join(shots, 'chase-steps.png'), fullPage: true});

  // An edit redraws the steps that are open, for the new input.
  await typeInput(page, STEPS.replace('D->E\n', ''));
  assert.ok(await page.locator('#steps-lossless').evaluate((d) => d.open));
  await page.waitForFunction(() => document.querySelectorAll('#steps-lossless li').length === 2);

  const [latex] = await Promise.all([page.waitForEvent('download'), page.click('#downloadLatex')]);
  assert.strictEqual(latex.suggestedFilename(), 'fdtools-solution.tex');
  const tex = path.join(shots, 'solution.tex');
  await latex.saveAs(tex);
  assert.match(fs.readFileSync(tex, 'utf8'), /^\\documentclass\{article\}\n\\usepackage\{amsmath\}[\s\S]*\\end\{document\}\n$/);
  const [markdown] = await Promise.all([page.waitForEvent('download'), page.click('#downloadMarkdown')]);
  const md = path.join(shots, 'solution.md');
  await markdown.saveAs(md);
  assert.match(fs.readFileSync(md, 'utf8'), /^# Worked solution: report\n[\s\S]*## Lossless join/);
  assert.deepStrictEqual(errors, []);
  await page.close();
});

test('a link reproduces the analysis', async () => {
  const {page} = await openPage({width: 1000, height: 800}, '#input=' + encodeURIComponent(ADDRESS));
  assert.strictEqual(await page.inputValue('#input'), ADDRESS);
  assert.match(await page.textContent('#overview'), /\{City,Street,Zip\}/);
  await page.close();
});

test('a bad line shows its error and the page stays', async () => {
  const {page, errors} = await openPage({width: 1000, height: 800});
  await typeInput(page, 'A,B\n\nA->B\nthis line has no arrow\n');
  assert.strictEqual(await page.isVisible('#error'), true);
  assert.match(await page.textContent('#error'), /line 4: no "->" in dependency line: this line has no arrow/);
  assert.strictEqual(await page.inputValue('#input'), 'A,B\n\nA->B\nthis line has no arrow\n');
  assert.match(await page.getAttribute('#results', 'class'), /stale/);
  await page.screenshot({path: path.join(shots, 'error.png')});
  await typeInput(page, ADDRESS);
  assert.strictEqual(await page.isVisible('#error'), false);
  assert.deepStrictEqual(errors, []);
  await page.close();
});

test('an exercise typed as the book prints it', async () => {
  const {page, errors} = await openPage({width: 1280, height: 900});
  await typeInput(page, 'R(A,B,C,D,E)\nAB->C, C->D, D->E\n');
  assert.match(await page.textContent('#readAs'), /exercise notation, one letter per attribute/);
  await page.click('nav button[data-tab="keys"]');
  assert.match(await page.textContent('#keys'), /1 candidate key.*\{A,B\}/s);
  assert.deepStrictEqual(errors, []);
  await page.close();
});

test('a broken link shows its error, and the page goes on working', async () => {
  const {page, errors} = await openPage({width: 1000, height: 800}, '#input=%E0%A4%A');
  assert.match(await page.textContent('#error'), /This link is broken/);
  assert.strictEqual(await page.inputValue('#input'), '');
  await typeInput(page, ADDRESS);
  assert.strictEqual(await page.isVisible('#error'), false);
  // A later change of the fragment is followed, tab and max keys too.
  const before = await analyses(page);
  await page.evaluate(() => {
    location.hash = '#tab=forms&maxKeys=5&input=' + encodeURIComponent('R(A,B)\nA -> B\n');
  });
  await page.waitForFunction((n) => Number(document.body.dataset.analyses || 0) > n, before);
  assert.strictEqual(await page.inputValue('#input'), 'R(A,B)\nA -> B\n');
  assert.strictEqual(await page.inputValue('#maxKeys'), '5');
  assert.strictEqual(await page.getAttribute('#tab-forms', 'aria-selected'), 'true');
  assert.strictEqual(await page.isVisible('#forms'), true);
  assert.deepStrictEqual(errors, []);
  await page.close();
});

test('tabs by keyboard, examples, clear, and warnings by the input', async () => {
  const {page, errors} = await openPage({width: 1280, height: 900});
  await page.focus('#tab-overview');
  await page.keyboard.press('ArrowRight');
  assert.strictEqual(await page.getAttribute('#tab-keys', 'aria-selected'), 'true');
  assert.strictEqual(await page.evaluate(() => document.activeElement.id), 'tab-keys');
  assert.strictEqual(await page.isVisible('#keys'), true);
  assert.match(decodeURIComponent(page.url()), /#tab=keys&/);
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowLeft');
  assert.strictEqual(await page.getAttribute('#tab-synthesis', 'aria-selected'), 'true');

  // "Open file" is reached by the keyboard: a button.
  assert.strictEqual(await page.evaluate(() => document.getElementById('openFile').tagName), 'BUTTON');

  let before = await analyses(page);
  await page.selectOption('#examples', {label: 'A lossy join'});
  await page.waitForFunction((n) => Number(document.body.dataset.analyses || 0) > n, before);
  await page.click('#tab-lossless');
  assert.match(await page.textContent('#lossless'), /lossy/);

  before = await analyses(page);
  await page.click('#clear');
  await page.waitForFunction((n) => Number(document.body.dataset.analyses || 0) > n, before);
  assert.strictEqual(await page.inputValue('#input'), '');

  // Copy as an fdcheck file: the exercise in the strict format, on the
  // clipboard where the page may use it, else downloaded.
  // What the page hands the clipboard is caught on its way there.
  await typeInput(page, 'R(A, B, C)\nAB -> C\n');
  await page.evaluate(() => {
    navigator.clipboard.writeText = async (text) => { window.copiedText = text; };
  });
  await page.click('#copyStrict');
  await page.waitForFunction(() => /copied/.test(document.getElementById('status').textContent));
  assert.strictEqual(await page.evaluate(() => window.copiedText), 'A,B,C\n\nA,B->C\n');

  // ' B' is a name of its own, so B of the dependency lies in no table.
  await typeInput(page, 'A, B\n\nA->B\n');
  assert.strictEqual(await page.locator('#warnings li').count(), 2);
  assert.match(await page.locator('#warnings li').first().textContent(),
               /line 1: the name ' B' starts or ends with a space/);
  assert.deepStrictEqual(errors, []);
  await page.close();
});

test('multivalued dependencies: the 4NF violation, rows the chase added, a 4NF synthesis', async () => {
  const {page, errors} = await openPage({width: 1280, height: 900});
  const before = await analyses(page);
  await page.selectOption('#examples', {label: 'Multivalued dependencies (4NF)'});
  await page.waitForFunction((n) => Number(document.body.dataset.analyses || 0) > n, before);
  assert.match(await page.textContent('#overview'), /\{Course\} \u21a0 \{Teacher\}/);
  await page.click('#tab-forms');
  assert.match(await page.locator('#forms .violation').first().textContent(),
               /\{Course\} \u21a0 \{Teacher\} breaks 4NF/);
  assert.strictEqual(await page.locator('#forms .badge.good', {hasText: '4NF'}).count(), 2);
  // Lossless only through the MVD: the all-distinguished row is an added one.
  await page.click('#tab-lossless');
  assert.match(await page.textContent('#lossless'), /lossless/);
  assert.match(await page.locator('#tableau tr.distinguished').textContent(), /^2 \(added\)/);
  await page.click('#tab-synthesis');
  await page.locator('#synthesis button').nth(2).waitFor();
  assert.strictEqual(await page.locator('#synthesis button').count(), 3);
  assert.match(await page.locator('#synthesis .card').nth(2).textContent(),
               /4NF decomposition.*\{Course,Teacher\}.*\{Book,Course\}/);
  await page.screenshot({path: path.join(shots, 'multivalued.png'), fullPage: true});
  assert.deepStrictEqual(errors, []);
  await page.close();
});

test('answers outdated by an error say so and cannot be downloaded', async () => {
  const {page} = await openPage({width: 1280, height: 900});
  await page.click('#tab-synthesis');
  assert.strictEqual(await page.isEnabled('#synthesis button[data-method="3NF"]'), true);
  assert.strictEqual(await page.isVisible('#outdated'), false);
  await typeInput(page, 'A,B\n\nA-B\n');
  assert.strictEqual(await page.isVisible('#outdated'), true);
  assert.strictEqual(await page.isEnabled('#synthesis button[data-method="3NF"]'), false);
  await page.close();
});

test('no critical or serious accessibility findings (axe-core)', async () => {
  const {page} = await openPage({width: 1280, height: 900});
  await page.addScriptTag({path: require.resolve('axe-core/axe.min.js')});
  for (const tab of ['overview', 'forms', 'lossless']) {
    await page.click('#tab-' + tab);
    const results = await page.evaluate(() => axe.run(document));
    const bad = results.violations.filter((v) => v.impact === 'critical' || v.impact === 'serious');
    assert.deepStrictEqual(bad.map((v) => v.id + ': ' + v.help), [], 'on the ' + tab + ' tab');
  }
  await page.close();
});

test('readable on a phone-sized screen', async () => {
  const {page} = await openPage({width: 390, height: 844});
  const overflow = await page.evaluate(() => document.documentElement.scrollWidth - window.innerWidth);
  assert.ok(overflow <= 0, `the page is ${overflow} px wider than the screen`);
  await page.click('nav button[data-tab="forms"]');
  await page.screenshot({path: path.join(shots, 'phone.png'), fullPage: true});
  await page.close();
});

test('a 1,000-attribute schema is analysed in under 2 s', async () => {
  const text = execFileSync(process.env.FDTOOLS_GEN_INPUT, ['1000', '1200', '100'], {encoding: 'utf8'});
  const {page} = await openPage({width: 1280, height: 900});
  // Pasted, as a user would: typing 20 KB key by key would time the typing.
  const elapsed = await page.evaluate((text) => new Promise((resolve) => {
    const before = Number(document.body.dataset.analyses || 0);
    const area = document.getElementById('input');
    area.value = text;
    const started = performance.now();
    area.dispatchEvent(new Event('input'));
    const wait = () => {
      if (Number(document.body.dataset.analyses || 0) > before) {
        // Until the answer is on screen, less the pause after typing.
        requestAnimationFrame(() => resolve(performance.now() - started - 250));
      } else {
        setTimeout(wait, 10);
      }
    };
    wait();
  }), text);
  const status = await page.textContent('#status');
  assert.match(status, /analysed in \d+ ms/);
  assert.ok(elapsed < 2000, `took ${Math.round(elapsed)} ms (${status})`);
  console.log(`1,000 attributes: ${Math.round(elapsed)} ms on screen (${status})`);
  assert.match(await page.textContent('#overview'), /Attributes \(1000\)/);
  await page.screenshot({path: path.join(shots, 'large.png')});
  await page.close();
});

test('a table too wide to project gets its form from evidence, and says its dependencies are not listed', async () => {
  // Each choice of Ai or Bi per i determines D: 2^12 dependencies hold in table 0.
  const names = (prefix) => Array.from({length: 12}, (_, i) => prefix + i);
  const lines = [[...names('A'), ...names('B'), 'D'].join(','), ''];
  for (let i = 0; i < 12; ++i) lines.push(`A${i}->C${i}`, `B${i}->C${i}`);
  lines.push(names('C').join(',') + '->D');
  const {page, errors} = await openPage({width: 1280, height: 900});
  await typeInput(page, lines.join('\n') + '\n');
  await page.click('nav button[data-tab="forms"]');
  const card = page.locator('#forms .card').nth(1);
  assert.match(await card.textContent(), /1NF/);
  assert.match(await card.textContent(), /Keys \(not all listed\)/);
  assert.match(await card.textContent(), /too many to list; the form is decided without them/);
  assert.deepStrictEqual(errors, []);
  await page.close();
});

test('a report sent in parts is put back whole, lists inside split lists too', async () => {
  const {page} = await openPage({width: 800, height: 600});
  const results = await page.evaluate(() => {
    const reports = [
      {a: [1, 2, 3, 4, 5, [6, 7, 8, 9], {b: [10, 11, 12, 13, 14]}], c: {d: [[1, 2], [3, 4, 5, 6, 7]]}, e: []},
      {tables: Array.from({length: 9}, (_, i) => ({keys: Array.from({length: i}, (_, k) => [k, 'n' + k])}))},
      [[[[1, 2, 3, 4]]], 'x', null, {y: [true, false, 0, '']}],
    ];
    return reports.map((original) => [3, 5, 1000].map((limit) => {
      const sent = structuredClone(original);
      const parts = splitReport(sent, limit);
      // postMessage copies each part when it is sent, after the split.
      const received = structuredClone(sent);
      for (const part of parts) mergePart(received, part.path, structuredClone(part.items));
      return JSON.stringify(received) === JSON.stringify(original);
    }));
  });
  assert.deepStrictEqual(results, [[true, true, true], [true, true, true], [true, true, true]]);
  await page.close();
});

test('the engine runs off the main thread: the page answers while it works, and a run can be cancelled', async () => {
  const text = execFileSync(process.env.FDTOOLS_GEN_INPUT, ['1000', '2000', '100'], {encoding: 'utf8'});
  const {page, errors} = await openPage({width: 1280, height: 900});
  const measured = await page.evaluate((text) => new Promise((resolve) => {
    let longestTask = 0;
    new PerformanceObserver((list) => {
      for (const entry of list.getEntries()) longestTask = Math.max(longestTask, entry.duration);
    }).observe({type: 'longtask', buffered: false});
    const before = Number(document.body.dataset.analyses || 0);
    const area = document.getElementById('input');
    area.value = text;
    const started = performance.now();
    area.dispatchEvent(new Event('input'));
    // While the worker computes, timers on the page still fire on time.
    let last = performance.now();
    let worstGap = 0;
    let workingSeen = false;
    const tick = () => {
      const now = performance.now();
      const working = document.getElementById('status').textContent === 'working\u2026';
      if (working) {
        if (workingSeen) worstGap = Math.max(worstGap, now - last);
        workingSeen = true;
      }
      last = now;
      if (Number(document.body.dataset.analyses || 0) > before) {
        requestAnimationFrame(() => resolve({
          elapsed: performance.now() - started - 250, worstGap, workingSeen, longestTask}));
      } else {
        setTimeout(tick, 5);
      }
    };
    tick();
  }), text);
  console.log(`gen_input 1000 2000 100: on screen in ${Math.round(measured.elapsed)} ms; ` +
              `longest gap between timers while working ${Math.round(measured.worstGap)} ms; ` +
              `longest main-thread task ${Math.round(measured.longestTask)} ms`);
  assert.ok(measured.workingSeen, 'the page never said it was working');
  assert.ok(measured.worstGap < 100, `the page froze for ${Math.round(measured.worstGap)} ms while working`);
  // Drawing too: each tab is drawn when shown, long lists in part.
  assert.ok(measured.longestTask < 100, `a main-thread task took ${Math.round(measured.longestTask)} ms`);
  assert.match(await page.textContent('#overview'), /Attributes \(1000\)/);
  // What arrived in parts is the engine's answer, whole and in order.
  const same = await page.evaluate(async (text) => {
    const engine = await fdtoolsEngine()();
    const whole = engine.analyze('report', text, JSON.stringify({maxKeys: MAX_KEYS_DEFAULT}));
    return JSON.stringify(lastReport) === JSON.stringify(JSON.parse(whole));
  }, text);
  assert.ok(same, 'the report put together from its parts differs from the engine\'s');

  // Cancel ends the run; the answers on screen stay those of the last run.
  await page.evaluate((text) => {
    const area = document.getElementById('input');
    area.value = text + '\n';
    area.dispatchEvent(new Event('input'));
  }, text);
  await page.locator('#cancel').waitFor({state: 'visible'});
  await page.click('#cancel');
  assert.strictEqual(await page.textContent('#status'), 'cancelled');
  assert.strictEqual(await page.isVisible('#cancel'), false);
  await typeInput(page, ADDRESS);
  assert.match(await page.textContent('#overview'), /Attributes \(3\)/);
  assert.deepStrictEqual(errors, []);
  await page.close();
});

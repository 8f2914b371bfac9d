// The WebAssembly evaluator under Node against the native one: the same output, line for
// line, the same messages and the same exit codes, for the shared answer sets, for a
// randomised batch, and for the ways a call goes wrong.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { existsSync, mkdirSync, mkdtempSync, readFileSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { runNative, runNativeRedirected, runNode, runNodeRedirected } from './native.mjs';
import { answerSets, randomAnswers } from './answer_sets.mjs';

function assertSameRun(args, input, locale) {
  const native = runNative(args, input, locale);
  const node = runNode(args, input, locale);
  assert.deepEqual(node, native, `${args.join(' ')} <<< ${input.slice(0, 200)}`);
}

test('the shared answer sets give the same text and JSON in both locales', () => {
  for (const [name, answers] of Object.entries(answerSets)) {
    for (const locale of ['de_DE.UTF-8', 'C']) {
      for (const format of [[], ['--format', 'json']])
        assertSameRun(format, JSON.stringify(answers), locale, name);
    }
  }
});

test('a randomised batch of 3000 answer sets gives the same lines', () => {
  let seed = 20261208;
  const lines = [];
  for (let i = 0; i < 3000; ++i) {
    const [answers, next] = randomAnswers(seed);
    seed = next;
    lines.push(JSON.stringify(answers));
  }
  const input = `${lines.join('\n')}\n`;
  const native = runNative(['--batch'], input);
  const node = runNode(['--batch'], input);
  assert.equal(native.status, 1, native.err);
  const nativeLines = native.out.split('\n');
  const nodeLines = node.out.split('\n');
  assert.equal(nodeLines.length, nativeLines.length);
  for (let i = 0; i < nativeLines.length; ++i)
    assert.equal(nodeLines[i], nativeLines[i], `Zeile ${i + 1}: ${lines[i]}`);
  assert.deepEqual({ status: node.status, err: node.err }, { status: native.status, err: native.err });
  assert.match(native.err, /^3000 Zeilen gelesen: \d+ ausgewertet, \d+ abgelehnt\.\n$/);
  // The batch reaches reports and refusals alike.
  assert.ok(nativeLines.filter((line) => line.startsWith('{"error"')).length > 100);
  assert.ok(nativeLines.filter((line) => line.startsWith('{"paragraphs"')).length > 1000);
});

test('refusals, wrong keys and wrong values give the same message and status 1', () => {
  const inputs = [
    '{}',
    '{"YearClass":4,"LivingArea":"75","CityArea":3}',
    '{"YearClass":2,"LivingArea":"51","IsApartment":true,"CityArea":3}',
    '{"YearClass":2,"LivingArea":"55,5","CityArea":3}',
    '{"YearClass":2,"LivingArea":"","CityArea":3}',
    '{"YearClass":2,"LivingArea":"99999999999","CityArea":3}',
    '{"YearClass":2,"LivingArea":"Quadratmeter","CityArea":3}',
    '{"YearClass":8}',
    '{"YearClass":1.5}',
    '{"YearClass":"1"}',
    '{"YearClass":1e20}',
    '{"YearClass":-0.25}',
    '{"GuestToilet":1}',
    '{"GuestToilet":null}',
    '{"LivingArea":75}',
    '{"LivingArea":[1,2]}',
    '{"CityArea":{"a":1}}',
    '{"Garden":true}',
    '{"zzz":1,"Aaa":2}',
    '{"Built1980Side":1,"YearClass":2}',
    '{"YearClass":2,"YearClass":4,"Built1980Side":1,"LivingArea":"75","CityArea":3}',
    '{"YearClass":2,"LivingArea":"75\\u00e4","CityArea":3}',
    '{"YearClass":2,"LivingArea":"\\x","CityArea":3}',
    '{"YearClass":2,"LivingArea":"\\ud800","CityArea":3}',
    '{"YearClass":2,"LivingArea":"\\ud83d\\ude00","CityArea":3}',
    '{"YearClass":2,"LivingArea":"a\tb","CityArea":3}',
    '{"YearClass":1.,"LivingArea":"60","CityArea":3}',
    '{"YearClass":1.e5}',
    '{"YearClass":-0}',
    '{"YearClass":0.5e1,"LivingArea":"60","CityArea":3}',
    '{"YearClass":123456789012}',
    '{"YearClass":0.1}',
  ];
  for (const input of inputs) assertSameRun([], input, 'de_DE.UTF-8');
});

test('input that is no JSON object is refused with status 2 in both', () => {
  const inputs = ['', '   \n', '[1,2]', '5', '"text"', 'null', '{"YearClass":', '{"YearClass" 1}',
    '{"YearClass":1,}', '{"YearClass":1} x', '\xff\xfe{', '{"YearClass":01}', '{"YearClass":1e}',
    '{"YearClass":-}', '{"YearClass":+1}', '{"LivingArea":"\\u00"}', '{"LivingArea":"ab'];
  for (const input of inputs) {
    const native = runNative([], input);
    const node = runNode([], input);
    assert.equal(native.status, 2, input);
    assert.equal(node.status, native.status, input);
    assert.equal(node.out, '', input);
    // Both read with the core's reader: the same byte and the same words.
    assert.equal(node.err, native.err, input);
  }
});

test('options, files, help and exit codes follow the native evaluator', () => {
  const folder = mkdtempSync(join(tmpdir(), 'msr-node-'));
  const file = join(folder, 'wohnung.json');
  writeFileSync(file, JSON.stringify(answerSets.mandatory));
  const lines = join(folder, 'wohnungen.jsonl');
  writeFileSync(lines, `${JSON.stringify(answerSets.mandatory)}\r\n\n{"YearClass":9}\nkein JSON\n`);
  const sheet = join(folder, 'wohnungen.csv');
  writeFileSync(sheet, '\ufeffAktenzeichen;CityArea;YearClass;LivingArea;Terrace\r\nA-1;3;2;75;ja\r\n;;;;\r\n'
    + '"B;""2""";3;9;"7\n5";x\r\nC;1;1;"60\r\n');
  // Workbooks as LibreOffice saved them, and one that is none.
  const [xlsx, ods] = ['xlsx', 'ods'].map((kind) =>
    new URL(`../samples/sheets/wohnungen.${kind}`, import.meta.url).pathname);
  const notWorkbook = join(folder, 'kaputt.xlsx');
  writeFileSync(notWorkbook, 'PK\x03\x04 und sonst nichts');
  const badSheet = join(folder, 'kaputt.csv');
  writeFileSync(badSheet, 'YearClass;Garten\n1;ja\n');
  const calls = [
    ['--help'], ['-h'], [file], ['--format=json', file], ['--format', 'text', file],
    ['--batch', lines], ['--batch', '--format', 'json', lines], ['--batch', '--format', 'text'],
    ['--batch', '--format', 'csv', lines], ['--format', 'csv', file],
    ['--format'], ['--format', 'xml'], ['--color'], ['--batch=1'], [file, file],
    [join(folder, 'fehlt.json')], [folder], ['--', file], ['-'], ['--version'], ['-hx'],
    ['-x'], ['--color=rot'], ['--help=1'], ['--', '--help'], ['--format=json', '--format', 'text'],
    ['--\x1b[31mrot'], ['--format', 'x\x1b[0m'], [join(folder, 'fehlt\nzeile\x07.json')],
    ['--decimal-separator', '.', file], ['--decimal-separator=,', '--format', 'json', file],
    ['--decimal-separator=.', '--batch', '--format', 'csv', lines], ['--decimal-separator=;'],
    ['--decimal-separator'], [sheet], ['--decimal-separator=,', sheet],
    ['--format', 'json', sheet], ['--input', 'csv'], ['--input=json', sheet], [badSheet],
    ['--input', 'csv', '--format', 'text'], [sheet, '--pdf', 'x.pdf'], ['--input', 'xml'],
    [xlsx], [ods], ['--format', 'json', ods], [notWorkbook],
  ];
  for (const args of calls) assertSameRun(args, JSON.stringify(answerSets.mandatory), 'de_DE.UTF-8');
});

test('editions: --rent-index, --date, a sheet\'s Stichtag and --check-rent-index alike', () => {
  const folder = mkdtempSync(join(tmpdir(), 'msr-node-editions-'));
  const editions = new URL('../editions', import.meta.url).pathname;
  const edition = join(editions, 'testausgabe-2017.json');
  const sheet = join(folder, 'stichtage.csv');
  writeFileSync(sheet, 'YearClass;LivingArea;CityArea;Stichtag\n1;45;3;2016-03-01\n1;45;3;01.06.2017\n'
    + '1;45;3;\n1;45;3;30.02.2017\n1;45;3;2010-01-01\n');
  const faulty = join(folder, 'kaputt.json');
  writeFileSync(faulty, readFileSync(edition, 'utf8').replace('"termEnd": "2018-12-31"', '"termEnd": "2016-12-31"'));
  const calls = [
    ['--rent-index', edition, '--date', '2017-06-01'],
    ['--rent-index', editions, '--date', '2016-06-01', '--format', 'json'],
    ['--rent-index', edition, '--date', '2014-06-01'],
    ['--rent-index', edition, '--date', '2026-12-09', sheet],
    ['--rent-index', edition, '--rent-index', edition],
    ['--rent-index', faulty], ['--check-rent-index', edition], ['--check-rent-index', faulty],
    ['--check-rent-index', folder], ['--date', '2017-13-01'], ['--date'],
  ];
  for (const args of calls) assertSameRun(args, JSON.stringify(answerSets.mandatory), 'de_DE.UTF-8');
  // Installed editions, where XDG_DATA_DIRS points.
  const installed = join(folder, 'mietspiegelrechner/editions');
  mkdirSync(installed, { recursive: true });
  writeFileSync(join(installed, '2017.json'), readFileSync(edition));
  const env = { XDG_DATA_DIRS: folder };
  const native = runNative(['--date', '2017-06-01', '--format', 'csv'], JSON.stringify(answerSets.mandatory), 'de_DE.UTF-8', env);
  const node = runNode(['--date', '2017-06-01', '--format', 'csv'], JSON.stringify(answerSets.mandatory), 'de_DE.UTF-8', env);
  assert.deepEqual(node, native);
  assert.match(native.out, /"Testausgabe 2017"\n$/);
});

test('--pdf is refused with status 2: the browser prints the page itself', () => {
  const run = runNode(['--pdf', 'bericht.pdf'], JSON.stringify(answerSets.mandatory));
  assert.equal(run.status, 2);
  assert.equal(run.out, '');
  assert.match(run.err, /^Die Option --pdf gibt es nur im nativen Auswerter/);
  assert.ok(!existsSync('bericht.pdf'));
});

test('output that cannot be written and input that cannot be read end alike in both', () => {
  const folder = mkdtempSync(join(tmpdir(), 'msr-node-'));
  const many = join(folder, 'viele.jsonl');
  writeFileSync(many, `${JSON.stringify(answerSets.allFeatures)}\n`.repeat(20000));
  const answers = JSON.stringify(answerSets.mandatory);
  const cases = [
    // A full disk: the message, status 2.
    [[], '>/dev/full', 2], [['--batch'], '>/dev/full', 2],
    [['--batch', '--format', 'csv'], '>/dev/full', 2], [['--help'], '>/dev/full', 2],
    [['--batch', many], '>/dev/full', 2],
    // A closed standard output.
    [[], '>&-', 2], [['--batch'], '>&-', 2], [['--format', 'csv'], '>&-', 2],
    [['--version'], '>&-', 2],
    // A closed standard input: refused where it is read, unnoticed where it is not.
    [['--batch'], '<&-', 2], [[], '<&-', 2], [['--batch', '--format', 'csv'], '<&-', 2],
    [['--help'], '<&-', 0],
    // A file that opens but cannot be read.
    [['/proc/self/mem'], '', 2], [['--batch', '/proc/self/mem'], '', 2],
    [['--input', 'csv', '/proc/self/mem'], '', 2],
    // A reader that goes away: ended at once by the broken pipe, nothing said.
    [['--batch', many], '| head -c 100 >/dev/null', 141],
    [['--batch', '--format', 'csv', many], '| head -c 100 >/dev/null', 141],
  ];
  for (const [args, redirection, status] of cases) {
    const native = runNativeRedirected(args, answers, redirection);
    const node = runNodeRedirected(args, answers, redirection);
    assert.deepEqual(node, native, `${args.join(' ')} ${redirection}`);
    assert.equal(native.status, status, `${args.join(' ')} ${redirection}`);
  }
});

test('NUL bytes and control characters in keys and values never cut a line', () => {
  const lines = [
    '{"Year\u0000Class":1}', '{"Year\0Class":1}', '{"LivingArea":"75\0","YearClass":1,"CityArea":1}',
    '{"\u001b[31mROT\u001b[0m":1}', '{"LivingArea":"7\u00005","YearClass":1,"CityArea":1}',
    JSON.stringify(answerSets.mandatory),
  ].join('\n');
  for (const format of ['json', 'csv']) {
    const native = runNative(['--batch', '--format', format], `${lines}\n`);
    const node = runNode(['--batch', '--format', format], `${lines}\n`);
    assert.deepEqual(node, native, format);
    assert.equal(native.out.trimEnd().split('\n').length, format === 'csv' ? 7 : 6, native.out);
  }
  for (const line of lines.split('\n')) assertSameRun([], line, 'de_DE.UTF-8');
});

test('--output writes the same file as the native one, a workbook too, as the user\'s umask allows', () => {
  const folder = mkdtempSync(join(tmpdir(), 'msr-node-output-'));
  const sheet = join(folder, 'wohnungen.csv');
  writeFileSync(sheet, 'Aktenzeichen;CityArea;YearClass;LivingArea;Terrace\nA-1;3;2;75;ja\nB-2;1;4;60;\nC;9;1;1;\n');
  const before = process.umask(0o027);
  try {
    for (const format of ['csv', 'json', 'xlsx']) {
      const [native, node] = ['native', 'node'].map((name) => join(folder, `${name}.${format}`));
      const nativeRun = runNative(['--format', format, '--output', native, sheet]);
      const nodeRun = runNode(['--format', format, '--output', node, sheet]);
      assert.deepEqual(nodeRun, nativeRun, format);
      assert.ok(readFileSync(node).equals(readFileSync(native)), format);
      assert.equal(statSync(node).mode & 0o777, 0o640, format);
      assert.equal(statSync(native).mode & 0o777, 0o640, format);
    }
  } finally {
    process.umask(before);
  }
});

// The Node evaluator against the native one, as a user runs them: whole processes on a
// file of answers, in JSON Lines and as the CSV table (not timed tests).
//   - lines per second of each, and Node's share of the native speed (the target: at
//     least a third), the median of several runs of 20,000 lines;
//   - the memory of each over 1,000,000 lines: the peak resident size, sampled while
//     the run goes on, which stays flat when the output is streamed.
// Run: node bench/web/node_evaluator.mjs [LINES] (after scripts/web --build-only and a
// native build; NATIVE_EVALUATOR and WEB_BUILD_DIR as for the tests).
import { spawn } from 'node:child_process';
import { mkdtempSync, openSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { performance } from 'node:perf_hooks';
import { randomAnswers } from '../../tests/web/answer_sets.mjs';
import { nativeEvaluator, nodeEvaluator } from '../../tests/web/native.mjs';

const speedLines = Number(process.argv[2] ?? 20000);
const memoryLines = 1000000;
const runs = 5;

function answerLines(count) {
  let seed = 1;
  const lines = [];
  for (let i = 0; i < count; ++i) {
    const [answers, next] = randomAnswers(seed);
    seed = next;
    lines.push(JSON.stringify(answers));
  }
  return `${lines.join('\n')}\n`;
}

function peakKilobytes(pid) {
  try {
    const status = readFileSync(`/proc/${pid}/status`, 'latin1');
    return Number(/VmHWM:\s+(\d+)/.exec(status)?.[1] ?? 0);
  } catch {
    return 0;
  }
}

// One whole run with the file as standard input and the output thrown away: seconds,
// status and the largest peak resident size seen.
function run(command, args, file) {
  return new Promise((resolve, reject) => {
    const start = performance.now();
    const child = spawn(command, args, {
      // /dev/null opened for writing, as a shell's redirection opens it (Node takes one
      // opened for reading and writing for a standard output that was closed).
      stdio: [openSync(file, 'r'), openSync('/dev/null', 'w'), 'pipe'],
      env: { ...process.env, LC_ALL: 'de_DE.UTF-8' },
    });
    let peak = 0;
    const sampler = setInterval(() => { peak = Math.max(peak, peakKilobytes(child.pid)); }, 20);
    let err = '';
    child.stderr.on('data', (data) => { err += data; });
    child.on('error', reject);
    child.on('exit', (status) => {
      clearInterval(sampler);
      resolve({ seconds: (performance.now() - start) / 1000, status, err, peak });
    });
  });
}

const evaluators = {
  nativ: (args) => [nativeEvaluator, args],
  Node: (args) => [process.execPath, [nodeEvaluator, ...args]],
};

async function median(evaluator, args, file) {
  const seconds = [];
  for (let i = 0; i < runs; ++i) {
    const [command, all] = evaluators[evaluator](args);
    const result = await run(command, all, file);
    if (result.status > 1) throw new Error(`${evaluator} ${args.join(' ')}: ${result.err}`);
    seconds.push(result.seconds);
  }
  return seconds.sort((a, b) => a - b)[Math.floor(runs / 2)];
}

const folder = mkdtempSync(join(tmpdir(), 'msr-bench-'));
try {
  const speedFile = join(folder, 'speed.jsonl');
  writeFileSync(speedFile, answerLines(speedLines));
  for (const format of ['json', 'csv']) {
    const args = ['--batch', '--format', format];
    const native = await median('nativ', args, speedFile);
    const node = await median('Node', args, speedFile);
    console.log(`${format.toUpperCase()}, ${speedLines} Zeilen: nativ ${native.toFixed(3)} s ` +
      `(${Math.round(speedLines / native)} Zeilen/s), Node ${node.toFixed(3)} s ` +
      `(${Math.round(speedLines / node)} Zeilen/s); Node/nativ = ${(native / node).toFixed(2)}`);
  }

  const memoryFile = join(folder, 'memory.jsonl');
  const block = answerLines(10000);
  writeFileSync(memoryFile, block.repeat(memoryLines / 10000));
  for (const format of ['json', 'csv']) {
    for (const evaluator of Object.keys(evaluators)) {
      const [command, all] = evaluators[evaluator](['--batch', '--format', format]);
      const result = await run(command, all, memoryFile);
      console.log(`${format.toUpperCase()}, ${memoryLines} Zeilen, ${evaluator}: ` +
        `${result.seconds.toFixed(1)} s, höchstens ${(result.peak / 1024).toFixed(1)} MB`);
    }
  }
} finally {
  rmSync(folder, { recursive: true, force: true });
}

// The native command-line evaluator and its Node build, run as a user runs them.
import { spawnSync } from 'node:child_process';
import { existsSync } from 'node:fs';
import { join } from 'node:path';
import { pageFolder, repository } from './browser.mjs';

export const nativeEvaluator =
  process.env.NATIVE_EVALUATOR ?? join(repository, 'build/cli/mietspiegel-auswertung');
export const nodeEvaluator = join(pageFolder, 'mietspiegel-auswertung.mjs');

if (!existsSync(nativeEvaluator))
  throw new Error(`Der native Auswerter fehlt: ${nativeEvaluator} (cmake --build build)`);
if (!existsSync(nodeEvaluator))
  throw new Error(`Der Node-Auswerter fehlt: ${nodeEvaluator} (scripts/web --build-only)`);

function run(command, args, input, locale, environment = {}) {
  const result = spawnSync(command, args, {
    input,
    env: { ...process.env, LC_ALL: locale, LANG: locale, ...environment },
    maxBuffer: 1 << 30,
  });
  return { status: result.status, out: result.stdout.toString(), err: result.stderr.toString() };
}

export function runNative(args, input = '', locale = 'de_DE.UTF-8', environment = {}) {
  return run(nativeEvaluator, args, input, locale, environment);
}

// The evaluator's message as a page shows it: where the evaluator names its --help for the
// known keys, the page says its own hint (the calculator none at all).
const keysHint = '; die erlaubten Schlüssel nennt --help.';
export function asPageSays(message, pageHint = '') {
  if (!message.endsWith(keysHint)) return message;
  const ruled = message.slice(0, -keysHint.length) + pageHint;
  return /[^\x00-.]$/u.test(ruled) ? `${ruled}.` : ruled;
}

export function runNode(args, input = '', locale = 'de_DE.UTF-8', environment = {}) {
  return run(process.execPath, [nodeEvaluator, ...args], input, locale, environment);
}

// Runs an evaluator through bash with its standard streams redirected as in a shell, e.g.
// '>/dev/full', '>&-' or '| head -c 100'; the status is the one bash reports, so a
// program ended by a broken pipe's signal exits 141 as it does for a user.
function runRedirected(command, args, input, redirection) {
  const script = `"$@" ${redirection}; status=\${PIPESTATUS[0]}; exit $status`;
  const result = spawnSync('bash', ['-c', script, 'bash', ...command, ...args], {
    input,
    env: { ...process.env, LC_ALL: 'de_DE.UTF-8', LANG: 'de_DE.UTF-8' },
    maxBuffer: 1 << 30,
  });
  return { status: result.status, out: result.stdout.toString(), err: result.stderr.toString() };
}

export function runNativeRedirected(args, input, redirection) {
  return runRedirected([nativeEvaluator], args, input, redirection);
}

export function runNodeRedirected(args, input, redirection) {
  return runRedirected([process.execPath, nodeEvaluator], args, input, redirection);
}

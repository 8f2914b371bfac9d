// A workbook's parts inflated ahead of the batch run: the browser inflates only
// asynchronously (DecompressionStream), while the run reads the workbook at once. The
// core lists the parts it may read and where they stand in the file; this hands each of
// them back inflated. What cannot be inflated is left out, and the run finds the workbook
// damaged. A classic script, for the page and for a worker alike.
/* exported inflateWorkbookParts */
'use strict';

// Whether the bytes begin as a zip archive (a workbook) does.
const startsAsZipArchive = (bytes) =>
  bytes.length >= 4 && bytes[0] === 0x50 && bytes[1] === 0x4b && bytes[2] === 3 && bytes[3] === 4;

async function inflated(bytes) {
  const stream = new Blob([bytes]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
  return new Uint8Array(await new Response(stream).arrayBuffer());
}

function copiedIn(module, bytes) {
  const pointer = module._malloc(Math.max(bytes.length, 1));
  module.HEAPU8.set(bytes, pointer);
  return pointer;
}

async function inflateWorkbookParts(module, bytes) {
  if (!startsAsZipArchive(bytes)) return;
  const file = copiedIn(module, bytes);
  let parts;
  try {
    parts = JSON.parse(module.UTF8ToString(module._msr_workbook_parts(file, bytes.length)));
  } finally {
    module._free(file);
  }
  for (const part of parts) {
    let data;
    try {
      data = await inflated(bytes.subarray(part.from, part.to));
    } catch {
      continue;
    }
    if (data.length !== part.size) continue;
    const nameSize = module.lengthBytesUTF8(part.name) + 1;
    const name = module._malloc(nameSize);
    const pointer = copiedIn(module, data);
    try {
      module.stringToUTF8(part.name, name, nameSize);
      module._msr_workbook_part(name, pointer, data.length);
    } finally {
      module._free(pointer);
      module._free(name);
    }
  }
}

// Compares the page's frames with the native program's at the same moments:
// the page draws them through its test hook (the snapshot tool's simulated
// clock and full frame), the native snapshot tool writes PNGs, and the
// browser decodes those for the comparison.
'use strict';

// Resolves to the page's frame `seconds` into the day as RGBA rows, top first.
async function pageFrame(page, seconds) {
  return page.evaluate((s) => {
    const w = Module.mdWidth, h = Module.mdHeight;
    const at = Module._md_test_moment(s);
    const rows = new Uint8Array(w * h * 4);
    for (let y = 0; y < h; ++y)
      rows.set(Module.HEAPU8.subarray(at + (h - 1 - y) * w * 4, at + (h - y) * w * 4), y * w * 4);
    return Array.from(rows);
  }, seconds);
}

// Resolves to a PNG's pixels (given as bytes) as RGBA rows, decoded by the page.
async function decodePng(page, bytes) {
  const url = 'data:image/png;base64,' + Buffer.from(bytes).toString('base64');
  return page.evaluate(async (src) => {
    const img = new Image();
    img.src = src;
    await img.decode();
    const c = document.createElement('canvas');
    c.width = img.width;
    c.height = img.height;
    const g = c.getContext('2d');
    g.drawImage(img, 0, 0);
    return Array.from(g.getImageData(0, 0, img.width, img.height).data);
  }, url);
}

// Mean absolute difference of the colour channels (0..255) and the share of
// pixels where some channel differs by more than `far`.
function difference(a, b, far = 48) {
  if (a.length !== b.length) throw new Error(`sizes differ: ${a.length} and ${b.length}`);
  let sum = 0;
  let farPixels = 0;
  for (let i = 0; i < a.length; i += 4) {
    let most = 0;
    for (let c = 0; c < 3; ++c) {
      const d = Math.abs(a[i + c] - b[i + c]);
      sum += d;
      if (d > most) most = d;
    }
    if (most > far) ++farPixels;
  }
  const pixels = a.length / 4;
  return {mean: sum / (pixels * 3), farShare: farPixels / pixels};
}

// The share of the pixels of `rect` ({x0, y0, x1, y1}, rows top first) in
// RGBA rows `width` wide whose colour is within `near` of `colour` in every
// channel.
function colourShare(pixels, width, rect, colour, near = 8) {
  let count = 0;
  for (let y = rect.y0; y < rect.y1; ++y) {
    for (let x = rect.x0; x < rect.x1; ++x) {
      const i = (y * width + x) * 4;
      if (colour.every((c, k) => Math.abs(pixels[i + k] - c) <= near)) ++count;
    }
  }
  return count / ((rect.x1 - rect.x0) * (rect.y1 - rect.y0));
}

module.exports = {pageFrame, decodePng, difference, colourShare};

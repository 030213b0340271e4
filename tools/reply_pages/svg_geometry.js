// The browser's side of an SVG job: the drawing parsed and put, unseen, into the page so that
// the browser's own SVG geometry measures its shapes (getTotalLength, getPointAtLength). What
// it gives svg.js: the root's size attributes and, for each shape drawn, its transforms (the
// outermost first) and its length and points in its own units.

import { SvgError } from './svg.js';

const SHAPES = new Set(['path', 'line', 'polyline', 'polygon', 'rect', 'circle', 'ellipse']);
// Content that is not drawn where it stands.
const UNDRAWN = new Set(['defs', 'clipPath', 'mask', 'symbol', 'marker', 'pattern', 'metadata', 'title', 'desc', 'style', 'script']);
const SKIPPED = { text: 'text (convert it to paths)', image: 'images', use: '<use> copies', foreignObject: 'foreign content' };
const SVG_NS = 'http://www.w3.org/2000/svg';

// withSvgDrawing(text, use, doc): parses the drawing, hands {root, shapes, notes} to use while
// the drawing is in the document, takes it out again and returns what use returned.
export function withSvgDrawing(text, use, doc = document) {
  const parsed = new DOMParser().parseFromString(String(text), 'image/svg+xml');
  const svg = parsed.documentElement;
  if (parsed.getElementsByTagName('parsererror').length || svg.namespaceURI !== SVG_NS || svg.localName !== 'svg') {
    throw new SvgError('the file is not an SVG drawing');
  }
  const holder = doc.createElement('div');
  holder.setAttribute('aria-hidden', 'true');
  holder.style.cssText = 'position:absolute;left:-100000px;top:0;width:1px;height:1px;overflow:hidden;visibility:hidden';
  const root = doc.importNode(svg, true);
  holder.appendChild(root);
  doc.body.appendChild(holder);
  try {
    return use(readDrawing(root));
  } finally {
    holder.remove();
  }
}

function readDrawing(root) {
  const shapes = [];
  const skipped = new Map();
  const view = root.ownerDocument.defaultView;
  (function walk(element, transforms) {
    for (const child of element.children) {
      if (child.namespaceURI !== SVG_NS || UNDRAWN.has(child.localName)) continue;
      if (view.getComputedStyle(child).display === 'none') continue;
      const own = child.getAttribute('transform');
      const chain = own ? [...transforms, own] : transforms;
      if (child.localName in SKIPPED) {
        skipped.set(child.localName, (skipped.get(child.localName) || 0) + 1);
      } else if (child.localName === 'svg') {
        throw new SvgError('a drawing inside the drawing (a nested <svg>) is not supported');
      } else if (SHAPES.has(child.localName)) {
        shapes.push({
          kind: child.localName,
          transforms: chain,
          length: child.getTotalLength(),
          pointAt: (s) => {
            const p = child.getPointAtLength(s);
            return { x: p.x, y: p.y };
          },
        });
      } else {
        walk(child, chain);
      }
    }
  })(root, []);
  const notes = [...skipped].map(([name, count]) => `Not drawn: ${count} ${SKIPPED[name]}.`);
  const attr = (name) => root.getAttribute(name);
  return {
    root: { width: attr('width'), height: attr('height'), viewBox: attr('viewBox'), preserveAspectRatio: attr('preserveAspectRatio') },
    shapes,
    notes,
  };
}

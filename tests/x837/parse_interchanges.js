// Parses every interchange the writer's tests saved (<folder>/*.837) with node-x12's strict parser
// and checks its envelope: the ISA's 106 characters, SE01/SE02, GE01/GE02, IEA01/IEA02, and the
// numbers of HL, CLM and LX segments that a <name>.expect file beside it gives.
// Prints one line per failing file and closes with "N passed, M failed"; fails when any file
// fails, when there is none, or when node-x12 cannot be loaded.
//   node parse_interchanges.js <folder>
'use strict';
const fs = require('fs');
const path = require('path');

function done(passed, failed, why) {
  if (why) console.log(why);
  console.log(`${passed} passed, ${failed} failed`);
  process.exit(failed === 0 && passed > 0 ? 0 : 1);
}

let X12Parser;
try {
  ({ X12Parser } = require('node-x12'));
} catch (e) {
  done(0, 1, `node-x12 cannot be loaded (scripts/bootstrap runs npm ci): ${e.message}`);
}

// The envelope checks of one interchange's text; throws an Error naming the first fault.
function check(text, expected) {
  const fail = (what) => { throw new Error(what); };
  if (!text.startsWith('ISA')) fail('does not start with ISA');
  // The ISA: 16 elements, then its segment terminator, 106 characters in all.
  const elementSep = text[3];
  let at = 0;
  for (let i = 0; i < 16; ++i) {
    at = text.indexOf(elementSep, at + 1);
    if (at < 0) fail('ISA has fewer than 16 elements');
  }
  const terminator = text[at + 2];
  if (at + 3 !== 106) fail(`ISA is ${at + 3} characters with its terminator, not 106`);

  // Strict parse: throws on any fault node-x12 knows.
  const parsed = new X12Parser(true).parse(text);
  if (Array.isArray(parsed)) fail(`holds ${parsed.length} interchanges, not 1`);

  // The same text as raw segments, for our own counts (node-x12 rewrites ISA13 and IEA02 as numbers).
  const raw = text.split(terminator).filter((s) => s.length > 0).map((s) => s.split(elementSep));
  const tags = raw.map((s) => s[0]);
  const isa = raw[0], iea = raw[raw.length - 1];
  if (iea[0] !== 'IEA') fail(`last segment is ${iea[0]}, not IEA`);
  if (tags.filter((t) => t === 'ISA').length !== 1) fail('more than one ISA');
  const groups = tags.filter((t) => t === 'GS').length;
  if (iea[1] !== '1' || groups !== 1) fail(`IEA01 ${iea[1]} with ${groups} functional groups`);
  if (iea[2] !== isa[13]) fail(`IEA02 ${iea[2]} is not ISA13 ${isa[13]}`);

  const counts = { hl: 0, clm: 0, lx: 0 };
  let gs = null, sets = 0, st = null, inSet = 0;
  for (const seg of raw) {
    switch (seg[0]) {
      case 'GS': gs = seg; sets = 0; break;
      case 'ST': st = seg; inSet = 1; ++sets; break;
      case 'SE':
        if (!st) fail('SE without ST');
        ++inSet;
        if (seg[1] !== String(inSet)) fail(`SE01 ${seg[1]}, but ST to SE are ${inSet} segments`);
        if (seg[2] !== st[2]) fail(`SE02 ${seg[2]} is not ST02 ${st[2]}`);
        st = null;
        break;
      case 'GE':
        if (!gs) fail('GE without GS');
        if (seg[1] !== String(sets)) fail(`GE01 ${seg[1]}, but the group holds ${sets} sets`);
        if (seg[2] !== gs[6]) fail(`GE02 ${seg[2]} is not GS06 ${gs[6]}`);
        gs = null;
        break;
      case 'ISA': case 'IEA': break;
      default:
        if (!st) fail(`${seg[0]} outside a transaction set`);
        ++inSet;
        if (seg[0] === 'HL') ++counts.hl;
        if (seg[0] === 'CLM') ++counts.clm;
        if (seg[0] === 'LX') ++counts.lx;
    }
  }
  if (st || gs) fail('a transaction set or group is not closed');

  // node-x12's own model must agree on the segments of each set.
  const model = parsed.functionalGroups.flatMap((g) => g.transactions).flatMap((t) => t.segments);
  const modelCount = (tag) => model.filter((s) => s.tag === tag).length;
  for (const key of Object.keys(counts)) {
    if (modelCount(key.toUpperCase()) !== counts[key]) fail(`node-x12 counts ${modelCount(key.toUpperCase())} ${key}`);
    if (expected && expected[key] !== undefined && expected[key] !== counts[key])
      fail(`${counts[key]} ${key.toUpperCase()} segments, the test expected ${expected[key]}`);
  }
}

const folder = process.argv[2];
let files = [];
try {
  files = fs.readdirSync(folder).filter((f) => f.endsWith('.837')).sort();
} catch (e) {
  done(0, 1, `no saved interchanges: ${e.message}`);
}
if (files.length === 0) done(0, 1, `no saved interchanges in ${folder}`);

let passed = 0, failed = 0;
for (const f of files) {
  try {
    const text = fs.readFileSync(path.join(folder, f), 'latin1');
    const expectFile = path.join(folder, f.replace(/\.837$/, '.expect'));
    const expected = fs.existsSync(expectFile) ? JSON.parse(fs.readFileSync(expectFile, 'utf8')) : null;
    check(text, expected);
    ++passed;
  } catch (e) {
    ++failed;
    console.log(`FAIL ${f}: ${e.message}`);
  }
}
done(passed, failed);

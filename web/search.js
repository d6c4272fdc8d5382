// The search page of a published web index. It reads ftsdocs.jpg and, for
// each query word, the index and cross-reference files of the word's
// initial from the folder the page is served from, fetching only the
// records it needs, and lists the documents that hold the words.
// docs/formats/webindex.md describes the files.

// Every character that belongs to a word, and the character the indexer
// records it as: page text is upper-cased, then accented capitals are
// folded to their plain letter (Ñ, Þ and ß are kept). Any other character
// separates words. A test compares these two strings with the scanner's
// own tables, so keep them in this form: one literal each, \xNN escapes.
export const WORD_CHARS =
  "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF8\xF9\xFA\xFB\xFC\xFD\xFE";
export const WORD_FOLDED =
  "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_ABCDEFGHIJKLMNOPQRSTUVWXYZAAAAAAACEEEEIIIID\xD1OOOOOOUUUUY\xDE\xDFAAAAAAACEEEEIIIID\xD1OOOOOOUUUUY\xDE";

const WORD_WIDTH = 19;
const INDEX_RECORD = 24;
const CROSS_RECORD = 6;
const SAMPLE_STEP = 100;
const MAX_GROUP_WORDS = 32799;
const MAX_DOCUMENTS = 32767;
// Above every character a word can hold: the end of a prefix's words.
const AFTER_ALL = "\xFF";

const FOLD = new Map([...WORD_CHARS].map((c, k) => [c, WORD_FOLDED[k]]));

// The words of a query as the indexer records words: runs of word
// characters, folded, cut to 19 characters; words shorter than 2 are
// dropped, and so is a repeated word.
export function queryWords(text) {
  const words = [];
  let word = "";
  const end = () => {
    const cut = word.slice(0, WORD_WIDTH);
    if (cut.length >= 2 && !words.includes(cut)) words.push(cut);
    word = "";
  };
  for (const c of text.normalize("NFC")) {
    const folded = FOLD.get(c);
    if (folded === undefined) end();
    else word += folded;
  }
  end();
  return words;
}

// A file of the index that is missing, damaged or could not be read.
export class IndexFileError extends Error {
  constructor(kind, file, detail) {
    super(detail);
    this.kind = kind; // "missing", "damaged" or "unreadable"
    this.file = file;
  }
}

const damaged = (file, detail) => new IndexFileError("damaged", file, detail);

const decoder = new TextDecoder("windows-1252");

// Bytes as a string of one character per byte, so that comparing two such
// strings compares bytes.
const byteString = (bytes) => String.fromCharCode(...bytes);

// One file of the index on the server. Reads byte ranges with HTTP range
// requests; a server that answers with the whole file is read once.
class RemoteFile {
  constructor(base, name) {
    this.name = name;
    this.url = new URL(name, base).href;
    this.whole = null;
    this.size = null; // known once a response tells it
  }

  async get(headers) {
    try {
      return await fetch(this.url, { headers });
    } catch (error) {
      throw new IndexFileError("unreadable", this.name, `${error.message}`);
    }
  }

  // The whole file, or null when it does not exist.
  async readAll() {
    const response = await this.get({});
    if (response.status === 404 || response.status === 410) return null;
    if (!response.ok) throw this.refused(response);
    return new Uint8Array(await response.arrayBuffer());
  }

  refused(response) {
    const answer = `${response.status} ${response.statusText}`.trim();
    return new IndexFileError("unreadable", this.name, `the server answered ${answer}`);
  }

  // Bytes `start` up to `end` (exclusive; null: to the end of the file), or
  // null when the file does not exist. With `atMost`, a file that ends
  // before `end` gives the bytes it has.
  async read(start, end, atMost = false) {
    if (this.whole === null) {
      const response = await this.get({ Range: `bytes=${start}-${end === null ? "" : end - 1}` });
      if (response.status === 404 || response.status === 410) return null;
      if (response.status === 416) {
        throw damaged(this.name, `it ends before byte ${start}, which its records need`);
      }
      if (response.status === 206) {
        const bytes = new Uint8Array(await response.arrayBuffer());
        const range = response.headers.get("Content-Range") || "";
        const match = /^bytes (\d+)-(\d+)\/(\d+)$/.exec(range);
        if (match && Number(match[1]) !== start) {
          const detail = "the server sent other bytes than asked";
          throw new IndexFileError("unreadable", this.name, detail);
        }
        if (match) this.size = Number(match[3]);
        if (end !== null && bytes.length < end - start && !atMost) {
          throw damaged(this.name, `it ends before byte ${end}, which its records need`);
        }
        return bytes;
      }
      if (!response.ok) throw this.refused(response);
      this.whole = new Uint8Array(await response.arrayBuffer());
      this.size = this.whole.length;
    }
    if (end !== null && end > this.whole.length && !atMost) {
      throw damaged(this.name, `it ends before byte ${end}, which its records need`);
    }
    if (start > this.whole.length) {
      throw damaged(this.name, `it ends before byte ${start}, which its records need`);
    }
    const length = this.whole.length;
    return this.whole.subarray(start, end === null ? length : Math.min(end, length));
  }
}

// The documents file: the common prefix, then four lines a document.
export function parseDocuments(bytes, name = "ftsdocs.jpg") {
  if (bytes.length === 0) return [];
  const lines = decoder.decode(bytes).split("\r\n");
  if (lines.pop() !== "") throw damaged(name, "its last line is cut off");
  const number = (line, what) => {
    if (!/^[ -]\d+ $/.test(line)) throw damaged(name, `${what} "${line}" is not a number`);
    return Number(line.trim());
  };
  const n = number(lines[0], "its first line");
  if (n < 1 || n > MAX_DOCUMENTS) throw damaged(name, `it cannot list ${n} documents`);
  if (lines.length !== 2 + 4 * n) {
    throw damaged(name, `it has ${lines.length} lines, and ${n} documents take ${2 + 4 * n}`);
  }
  const prefix = lines[1];
  const documents = [];
  for (let i = 0; i < n; i++) {
    const at = 2 + 4 * i;
    number(lines[at + 2], `the level of document ${i + 1}`);
    number(lines[at + 3], `the parent of document ${i + 1}`);
    documents.push({ number: i + 1, url: prefix + lines[at], description: lines[at + 1] });
  }
  return documents;
}

// Index record `record` (from 1) within `bytes`, which begin at record
// `first`: its integer and its blank-trimmed word.
function indexRecord(file, bytes, first, record) {
  const offset = (record - first) * INDEX_RECORD;
  if (bytes[offset + INDEX_RECORD - 1] !== 0x0a) {
    throw damaged(file, `record ${record} does not end with a line feed`);
  }
  const view = new DataView(bytes.buffer, bytes.byteOffset + offset, INDEX_RECORD);
  const text = bytes.subarray(offset + 4, offset + 4 + WORD_WIDTH);
  const word = byteString(text).replace(/ +$/, "");
  if (!/^[0-9A-Z_\xD1\xDE\xDF]{2,}$/.test(word)) {
    throw damaged(file, `record ${record} holds no word`);
  }
  return { value: view.getInt32(0, false), word };
}

// The words of one initial: the header and the samples, read once.
class Group {
  constructor(index, letter) {
    this.index = index;
    this.words = new RemoteFile(index.base, `ftsindex${letter}.jpg`);
    this.cross = new RemoteFile(index.base, `ftscross${letter}.jpg`);
    this.runs = new Map(); // first position of a run -> its records
  }

  // False when the group has no file: no word has this initial.
  async open() {
    const name = this.words.name;
    // The header and, in one request, the samples of up to 9,900 words.
    const head = await this.words.read(0, INDEX_RECORD * (1 + SAMPLE_STEP), true);
    if (head === null) return false;
    if (head.length < INDEX_RECORD) throw damaged(name, "it holds no header record");
    const n = indexRecord(name, head, 1, 1).value;
    if (n < 1 || n > MAX_GROUP_WORDS) throw damaged(name, `its header counts ${n} words`);
    const s = Math.ceil(n / SAMPLE_STEP);
    const size = INDEX_RECORD * (1 + s + n);
    if (this.words.size !== null && this.words.size !== size) {
      throw damaged(name, `it holds ${this.words.size} bytes, and ${n} words take ${size}`);
    }
    const end = INDEX_RECORD * (1 + s);
    const bytes =
      head.length >= end
        ? head.subarray(INDEX_RECORD, end)
        : await this.words.read(INDEX_RECORD, end);
    this.samples = [];
    for (let i = 1; i <= s; i++) {
      const sample = indexRecord(name, bytes, 2, 1 + i);
      if (sample.value !== (i < s ? SAMPLE_STEP * i : n)) {
        throw damaged(name, `sample ${i} counts ${sample.value} words`);
      }
      this.samples.push(sample.word);
    }
    this.n = n;
    return true;
  }

  // The word records of positions `lo` to `last`, in order.
  async readRun(lo, last) {
    const s = this.samples.length;
    const first = 1 + s + lo;
    const bytes = await this.words.read(INDEX_RECORD * (first - 1), INDEX_RECORD * (1 + s + last));
    const records = [];
    for (let k = lo; k <= last; k++) {
      records.push(indexRecord(this.words.name, bytes, first, 1 + s + k));
    }
    for (let k = 1; k < records.length; k++) {
      if (records[k - 1].word >= records[k].word || records[k - 1].value >= records[k].value) {
        const at = first + k;
        throw damaged(this.words.name, `the words of records ${at - 1} and ${at} are out of order`);
      }
    }
    return records;
  }

  // The first position (from 1) whose word is at or above `key`, and the
  // record of the word's block in the cross-reference file; position n + 1
  // and block null when every word is below `key`. Reads the run of at most
  // 101 word records the samples point to, and one record more, once.
  async lowerBound(key) {
    const s = this.samples.length;
    const i = this.samples.findIndex((word) => word >= key) + 1;
    if (i === 0) return { position: this.n + 1, block: null, word: null };
    // Sample i < s holds word 100 i + 1, the last sample word n.
    const lo = i === 1 ? 1 : SAMPLE_STEP * (i - 1) + 1;
    const hi = Math.min(i < s ? SAMPLE_STEP * i + 1 : this.n, this.n);
    if (!this.runs.has(lo)) this.runs.set(lo, this.readRun(lo, Math.min(hi + 1, this.n)));
    const records = await this.runs.get(lo);
    let at = 0;
    let top = hi - lo + 1;
    while (at < top) {
      const middle = (at + top) >> 1;
      if (records[middle].word < key) at = middle + 1;
      else top = middle;
    }
    if (at > hi - lo || records[hi - lo].word !== this.samples[i - 1]) {
      throw damaged(this.words.name, `sample ${i} does not match word record ${1 + s + hi}`);
    }
    const next = records[at + 1];
    return {
      position: lo + at,
      block: records[at].value,
      word: records[at].word,
      nextBlock: next ? next.value : null,
    };
  }

  // The documents of the words at positions `from` up to `to` (exclusive),
  // whose blocks are the cross-reference records `block` up to `endBlock`
  // (null: the end of the file): occurrences summed per document number.
  async documents(from, to, block, endBlock) {
    const name = this.cross.name;
    if (block < 1 || (endBlock !== null && endBlock <= block)) {
      throw damaged(this.words.name, `a word's block is at record ${block}`);
    }
    const bytes = await this.cross.read(
      CROSS_RECORD * (block - 1),
      endBlock === null ? null : CROSS_RECORD * (endBlock - 1),
    );
    if (bytes === null) {
      throw new IndexFileError("missing", name, `the server has no ${name}`);
    }
    if (bytes.length % CROSS_RECORD !== 0) throw damaged(name, "its last record is cut off");
    const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.length);
    const count = this.index.documentCount;
    const found = new Map();
    let record = 0;
    const records = bytes.length / CROSS_RECORD;
    for (let k = from; k < to; k++) {
      if (record >= records) throw damaged(name, `the block of word ${k} is missing`);
      const position = view.getInt32(record * CROSS_RECORD, false);
      const d = view.getInt16(record * CROSS_RECORD + 4, false);
      if (position !== k || d < 0 || record + 1 + d > records) {
        throw damaged(name, `record ${block + record} is not the block of word ${k}`);
      }
      let previous = 0;
      for (let r = record + 1; r <= record + d; r++) {
        const number = view.getInt32(r * CROSS_RECORD, false);
        const occurrences = view.getInt16(r * CROSS_RECORD + 4, false);
        if (number <= previous || number > count || occurrences < 1) {
          throw damaged(name, `record ${block + r} names document ${number} ${occurrences} times`);
        }
        previous = number;
        found.set(number, (found.get(number) || 0) + occurrences);
      }
      record += 1 + d;
    }
    if (record !== records) {
      throw damaged(name, `record ${block + record} follows the last block of its words`);
    }
    return found;
  }

  // The documents holding `word`, or with `partial` any word beginning
  // with it.
  async lookup(word, partial) {
    const start = await this.lowerBound(word);
    if (start.word === null) return new Map();
    if (!partial) {
      if (start.word !== word) return new Map();
      return this.documents(start.position, start.position + 1, start.block, start.nextBlock);
    }
    if (!start.word.startsWith(word)) return new Map();
    const end = await this.lowerBound(word + AFTER_ALL);
    return this.documents(start.position, end.position, start.block, end.block);
  }
}

// The web index at `base`, read afresh for each search so that the files
// of one run are read together.
export class WebIndex {
  constructor(base) {
    this.base = base;
    this.groups = new Map();
  }

  async loadDocuments() {
    const file = new RemoteFile(this.base, "ftsdocs.jpg");
    const bytes = await file.readAll();
    if (bytes === null) {
      throw new IndexFileError("missing", file.name, `the server has no ${file.name}`);
    }
    this.docs = parseDocuments(bytes, file.name);
    this.documentCount = this.docs.length;
  }

  // The documents holding the word, occurrences by document number.
  async lookup(word, partial) {
    const letter = word[0] >= "A" && word[0] <= "Z" ? word[0] : "";
    if (!this.groups.has(letter)) {
      const group = new Group(this, letter);
      this.groups.set(letter, group.open().then((exists) => (exists ? group : null)));
    }
    const group = await this.groups.get(letter);
    return group === null ? new Map() : group.lookup(word, partial);
  }

  // The documents that hold all the words (or any of them), those holding
  // the words most often first, then in the order of the index.
  async search(words, { any = false, partial = false } = {}) {
    await this.loadDocuments();
    const found = await Promise.all(words.map((word) => this.lookup(word, partial)));
    return rankDocuments(found, any).map(([number, occurrences]) => ({
      ...this.docs[number - 1],
      occurrences,
    }));
  }
}

// [document number, occurrences] of the documents found for every word
// (or for any), most occurrences first, then by document number.
export function rankDocuments(found, any) {
  const total = new Map();
  for (const documents of found) {
    for (const [number, occurrences] of documents) {
      if (any || found.every((other) => other.has(number))) {
        total.set(number, (total.get(number) || 0) + occurrences);
      }
    }
  }
  return [...total].sort((a, b) => b[1] - a[1] || a[0] - b[0]);
}

// The link a URL of the index may become: only http and https, absolute.
export function safeLink(url) {
  try {
    const parsed = new URL(url);
    return parsed.protocol === "http:" || parsed.protocol === "https:" ? parsed.href : null;
  } catch {
    return null;
  }
}

// ---- The page ----

// The query of an address: ?q=words&mode=all|any&partial=1.
export function readAddress(search) {
  const params = new URLSearchParams(search);
  return {
    q: params.get("q") || "",
    any: params.get("mode") === "any",
    partial: params.get("partial") === "1",
  };
}

export function writeAddress(query) {
  const params = new URLSearchParams();
  params.set("q", query.q);
  params.set("mode", query.any ? "any" : "all");
  if (query.partial) params.set("partial", "1");
  return `?${params}`;
}

function explain(error) {
  if (!(error instanceof IndexFileError)) {
    return `The search failed: ${error.message}`;
  }
  const again = " Generate the web index again and publish all of its files together.";
  switch (error.kind) {
    case "missing":
      return `The web index file ${error.file} is missing: ${error.message}.${again}`;
    case "damaged":
      return `The web index file ${error.file} is damaged: ${error.message}.${again}`;
    default:
      return `The web index file ${error.file} could not be read: ${error.message}.`;
  }
}

function describe(query, words) {
  const list = words.map((word) => `“${word}”`);
  const joined = list.join(query.any ? " or " : " and ");
  return query.partial ? `${joined} (words beginning so)` : joined;
}

function resultItem(result) {
  const item = document.createElement("li");
  const href = safeLink(result.url);
  const title = document.createElement(href ? "a" : "span");
  title.className = "title";
  title.textContent = result.description || result.url;
  if (href) title.href = href;
  const url = document.createElement("span");
  url.className = "url";
  url.textContent = result.url;
  const count = document.createElement("span");
  count.className = "count";
  const n = result.occurrences;
  count.textContent = n === 1 ? "1 occurrence" : `${n} occurrences`;
  item.append(title, url, count);
  return item;
}

let generation = 0;

async function run(query) {
  const page = document.body;
  const status = document.getElementById("status");
  const list = document.getElementById("results");
  const mine = ++generation;
  list.replaceChildren();
  const words = queryWords(query.q);
  document.title = query.q ? `${query.q} – Search` : "Search";
  if (query.q.trim() === "") {
    status.textContent = "";
    page.dataset.state = "idle";
    return;
  }
  if (words.length === 0) {
    status.textContent = "Type at least one word of two letters or more.";
    page.dataset.state = "done";
    return;
  }
  if (location.protocol === "file:") {
    status.textContent =
      "This page reads the web index from its web server: publish it with the index files," +
      " or serve the folder, and open it from there.";
    page.dataset.state = "error";
    return;
  }
  performance.mark("search-start");
  page.dataset.state = "searching";
  status.textContent = "Searching…";
  try {
    const index = new WebIndex(new URL(".", location.href));
    const results = await index.search(words, query);
    if (mine !== generation) return;
    if (index.documentCount === 0) {
      status.textContent = "The web index lists no documents.";
    } else if (results.length === 0) {
      status.textContent = `Nothing matched ${describe(query, words)}.`;
    } else {
      const one = results.length === 1;
      const found = `${results.length} document${one ? "" : "s"}`;
      status.textContent = `${found} for ${describe(query, words)}:`;
      list.append(...results.map(resultItem));
    }
    page.dataset.state = "done";
  } catch (error) {
    if (mine !== generation) return;
    status.textContent = explain(error);
    page.dataset.state = "error";
  }
  performance.mark("search-results");
}

function show(query) {
  const form = document.getElementById("search");
  form.elements.q.value = query.q;
  form.elements.mode.value = query.any ? "any" : "all";
  form.elements.partial.checked = query.partial;
  return run(query);
}

function start() {
  const form = document.getElementById("search");
  form.addEventListener("submit", (event) => {
    event.preventDefault();
    const query = {
      q: form.elements.q.value,
      any: form.elements.mode.value === "any",
      partial: form.elements.partial.checked,
    };
    history.pushState(null, "", writeAddress(query));
    run(query);
  });
  window.addEventListener("popstate", () => show(readAddress(location.search)));
  show(readAddress(location.search));
}

if (typeof document !== "undefined" && document.getElementById("search")) start();

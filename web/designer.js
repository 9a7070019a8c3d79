// The cam designer page: the form holds a design object as `camprofile cam --design` reads it; every change runs
// camprofile itself (camprofile.js) on it and shows the command's own report, profile, turn plot and files.
// Lengths in mm, angles in degrees; the profile is drawn with y upwards, the cam turning about the origin.
// Reads and writes no storage and fetches nothing: the design lives in the form and in the address.
(function () {
  'use strict';

  const $ = (id) => document.getElementById(id);
  const SVG = 'http://www.w3.org/2000/svg';
  // Where camprofile reads the design and writes its files, in the module's in-memory file system.
  const DESIGN_FILE = '/design.json';
  const OUT = '/out/';
  const LIVE_FILES = { profile: 'profile.svg', plot: 'plot.svg' };
  const TYPING_PAUSE_MS = 250;
  const TURN_SECONDS = 12;   // one turn of the play button
  // The browser runs the WebAssembly and the drawing code unoptimised at first and compiles faster code once they
  // have run a few times: the cam shown is run and drawn again this often at load (nothing changes on screen), so
  // that a user's first changes are not two or three times slower than the rest.
  const WARM_UP_RUNS = 4;

  let engine = null;         // the camprofile module
  let lawChoices = [];       // [{number, name}], from camprofile's own help
  let outputOptions = '';    // camprofile cam --help, to tell which outputs this build has
  let defaultDesign = null;  // the cam of `camprofile cam cycloid`
  let good = null;           // the last good cam: {report, reportText, designText, files, perDegree, turn}
  let pending = 0;
  let addressPending = 0;
  const updateTimes = [];    // ms from a change taken up to the views redrawn

  // ---- camprofile ----

  // Runs `camprofile ARGS...`; {status, out, err}.
  function camprofile(args) {
    const status = engine.ccall('designerRun', 'number', ['string'], [args.join('\n')]);
    return { status, out: engine.UTF8ToString(engine._designerStdout()),
             err: engine.UTF8ToString(engine._designerStderr()) };
  }
  function clearOutputs() {
    for (const name of engine.FS.readdir(OUT))
      if (name !== '.' && name !== '..')
        engine.FS.unlink(OUT + name);
  }
  function readOutput(name, binary) {
    return engine.FS.readFile(OUT + name, binary ? {} : { encoding: 'utf8' });
  }
  function has(option) { return outputOptions.includes(option + ' '); }
  // The command's message: its first line without the program's name (the next one only points to --help).
  function message(err) { return err.trim().split('\n')[0].replace(/^camprofile: /, ''); }

  // Runs the cam of `designText` with the live outputs; {status, err, out, files, turn} with the files read and
  // the follower's lifts over the turn.
  function runCam(designText, perDegree) {
    engine.FS.writeFile(DESIGN_FILE, designText);
    clearOutputs();
    const args = ['cam', '--design', DESIGN_FILE, '--json', '--per-degree', perDegree,
                  '--profile', OUT + LIVE_FILES.profile];
    if (has('--plot'))
      args.push('--plot', OUT + LIVE_FILES.plot);
    const result = camprofile(args);
    if (result.status !== 0)
      return result;
    result.files = {};
    for (const [what, name] of Object.entries(LIVE_FILES))
      if (engine.FS.analyzePath(OUT + name).exists)
        result.files[what] = readOutput(name);
    result.turn = followerTurn(Number(perDegree));
    return result;
  }

  // The follower's lift at the table's angles (as the table's s column) and the contour's largest radius.
  function followerTurn(perDegree) {
    const count = engine.ccall('designerTurn', 'number', ['string', 'number'], [DESIGN_FILE, perDegree]);
    const values = new Float64Array(engine.HEAPF64.buffer, engine._designerTurnValues(), count + 1);
    return { reach: values[0], lifts: Float64Array.from(values.subarray(1)) };
  }

  // ---- the design as text ----

  // A number as typed becomes a JSON number when it is plain decimal; anything else goes as a string, for the
  // command to refuse naming its key (as it refuses "0x32" or "inf" on the command line).
  function jsonValue(text) {
    const trimmed = text.trim();
    if (trimmed === '')
      return null;
    if (/^[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?$/.test(trimmed) && Number.isFinite(Number(trimmed)))
      return Number(trimmed);
    return trimmed;
  }

  function visible(element) { return !element.closest('[hidden]'); }

  // The design object of the form, in the command's key order, the running inputs in their own object; hidden
  // fields and empty running fields are left out (the command's defaults hold).
  function designFromForm() {
    const design = { segments: [] };
    for (const row of $('segments').tBodies[0].rows) {
      const cell = (field) => row.querySelector(`[data-field="${field}"]`);
      const kind = cell('kind').value;
      const segment = { kind, angle_deg: jsonValue(cell('angle_deg').value) };
      if (kind !== 'dwell') {
        segment.lift = jsonValue(cell('lift').value);
        segment.law = Number(cell('law').value);
        if (segment.law === 7)
          segment.points = Array.from(row.querySelectorAll('[data-field="points"]'), (p) => jsonValue(p.value));
      }
      design.segments.push(segment);
    }
    const running = {};
    for (const input of document.querySelectorAll('#design-form [data-key]')) {
      if (!visible(input))
        continue;
      const value = input.tagName === 'SELECT' ? input.value : jsonValue(input.value);
      if (value !== null)
        (input.hasAttribute('data-running') ? running : design)[input.dataset.key] = value;
    }
    if (Object.keys(running).length)
      design.running = running;
    return design;
  }

  // Fills the form from a design object as the command gives it back (its report's "design").
  function formFromDesign(design) {
    const tbody = $('segments').tBodies[0];
    tbody.replaceChildren();
    for (const segment of design.segments)
      tbody.append(segmentRow(segment));
    numberRows();
    for (const input of document.querySelectorAll('#design-form [data-key]')) {
      const value = (input.hasAttribute('data-running') ? design.running || {} : design)[input.dataset.key];
      input.value = value === null || value === undefined ? (input.tagName === 'SELECT' ? input.options[0].value : '')
                                                          : String(value);
    }
    showFollowerFields();
  }

  // ---- the form ----

  function lawSelect(law) {
    const select = document.createElement('select');
    select.dataset.field = 'law';
    for (const { number, name } of lawChoices)
      select.add(new Option(`${number} ${name}`, String(number)));
    select.value = String(law);
    return select;
  }
  function input(field, value, label) {
    const element = document.createElement('input');
    element.dataset.field = field;
    element.inputMode = 'decimal';
    element.value = value === null || value === undefined ? '' : String(value);
    element.setAttribute('aria-label', label);
    return element;
  }

  // One row of the program: kind, angle, lift, law (law 7 with its points), and the buttons that move it.
  function segmentRow(segment) {
    const row = document.createElement('tr');
    const kind = document.createElement('select');
    kind.dataset.field = 'kind';
    for (const k of ['rise', 'dwell', 'return'])
      kind.add(new Option(k, k));
    kind.value = segment.kind;
    const law = lawSelect(segment.law === null || segment.law === undefined ? 2 : segment.law);
    const points = document.createElement('div');
    points.className = 'points';
    ['TA', 'SA', 'TB', 'SB'].forEach((name, i) => {
      const p = input('points', segment.points ? segment.points[i] : [0.25, 0.2, 0.75, 0.8][i], `law 7 point ${name}`);
      const label = document.createElement('label');
      label.append(name, p);
      points.append(label);
    });
    const cells = [document.createElement('th'), kind, input('angle_deg', segment.angle_deg, 'angle, degrees'),
                   input('lift', segment.lift, 'lift'), document.createElement('div'), document.createElement('div')];
    cells[0].scope = 'row';
    cells[4].append(law, points);
    for (const [text, action] of [['↑', 'up'], ['↓', 'down'], ['✕', 'remove']]) {
      const button = document.createElement('button');
      button.type = 'button';
      button.textContent = text;
      button.dataset.action = action;
      cells[5].append(button);
    }
    for (const content of cells) {
      const cell = content.tagName === 'TH' ? content : document.createElement('td');
      if (cell !== content)
        cell.append(content);
      row.append(cell);
    }
    const message = document.createElement('p');
    message.className = 'refusal';
    message.setAttribute('role', 'alert');
    message.hidden = true;
    row.cells[1].append(message);
    return row;
  }

  // Row numbers, the labels that name them, and which cells a row's kind and law use.
  function numberRows() {
    const oscillating = $('follower').value === 'oscillating-roller';
    $('lift-heading').textContent = oscillating ? 'Lift (° of arm swing)' : 'Lift (mm)';
    Array.from($('segments').tBodies[0].rows).forEach((row, i) => {
      const n = i + 1;
      row.cells[0].textContent = String(n);
      const dwell = row.querySelector('[data-field="kind"]').value === 'dwell';
      const law = row.querySelector('[data-field="law"]');
      row.querySelector('[data-field="kind"]').setAttribute('aria-label', `segment ${n} kind`);
      row.querySelector('[data-field="angle_deg"]').setAttribute('aria-label', `segment ${n} angle, degrees`);
      const lift = row.querySelector('[data-field="lift"]');
      lift.setAttribute('aria-label', `segment ${n} lift, ${oscillating ? 'degrees of arm swing' : 'mm'}`);
      law.setAttribute('aria-label', `segment ${n} law`);
      lift.hidden = law.hidden = dwell;
      row.querySelector('.points').hidden = dwell || law.value !== '7';
      for (const button of row.querySelectorAll('button'))
        button.setAttribute('aria-label', `${{ up: 'move up', down: 'move down', remove: 'remove' }[button.dataset.action]} segment ${n}`);
    });
  }

  function showFollowerFields() {
    const follower = $('follower').value;
    for (const field of document.querySelectorAll('[data-for]'))
      field.hidden = !field.dataset.for.split(' ').includes(follower);
    numberRows();
  }

  // ---- refusals ----

  function clearRefusals() {
    for (const p of document.querySelectorAll('.refusal')) {
      p.hidden = true;
      p.textContent = '';
    }
    for (const field of document.querySelectorAll('[aria-invalid]'))
      field.removeAttribute('aria-invalid');
  }
  // The command's message beside the field it names (its design key, or an option of the form), else above the form.
  function showRefusal(text) {
    let field = null;
    let where = $('form-message');
    const key = /key '([^']+)'/.exec(text);
    const segment = key && /^segments\[(\d+)\](?:\.(\w+))?/.exec(key[1]);
    if (segment) {
      const row = $('segments').tBodies[0].rows[Number(segment[1])];
      if (row) {
        field = segment[2] && row.querySelector(`[data-field="${segment[2]}"]`);
        where = row.querySelector('.refusal');
      }
    } else if (key && key[1] === 'segments') {
      where = $('segments-message');
    } else if (key) {
      const running = /^running\.(\w+)$/.exec(key[1]);
      field = running ? document.querySelector(`#design-form [data-running][data-key="${running[1]}"]`)
                      : document.querySelector(`#design-form [data-key="${key[1]}"]:not([data-running])`);
    } else {
      field = Array.from(document.querySelectorAll('[data-option]')).find((f) => text.startsWith(f.dataset.option + ':'));
    }
    if (field) {
      field.setAttribute('aria-invalid', 'true');
      if (!segment)
        where = refusalBeside(field);
    }
    where.textContent = text;
    where.hidden = false;
  }
  function refusalBeside(field) {
    const box = field.closest('.field');
    let p = box.querySelector('.refusal');
    if (!p) {
      p = document.createElement('p');
      p.className = 'refusal';
      p.setAttribute('role', 'alert');
      box.append(p);
    }
    return p;
  }

  // ---- updating ----

  // Runs the form's design; the views change only when the command accepts it.
  function update() {
    clearTimeout(pending);
    const start = performance.now();
    const design = designFromForm();
    const designText = JSON.stringify(design, null, 2) + '\n';
    const perDegree = $('per_degree').value.trim();
    const result = runCam(designText, perDegree);
    clearRefusals();
    if (result.status !== 0) {
      showRefusal(message(result.err));
      document.body.dataset.state = 'refused';
      $('status').textContent = 'Refused: the last good cam is shown.';
      updateTimes.push(performance.now() - start);
      return false;
    }
    accept(result, perDegree, designText);
    updateTimes.push(performance.now() - start);
    return true;
  }
  function scheduleUpdate() {
    clearTimeout(pending);
    pending = setTimeout(update, TYPING_PAUSE_MS);
  }

  function accept(result, perDegree, designText) {
    const report = JSON.parse(result.out);
    good = { report, reportText: result.out, designText, files: result.files, perDegree: Number(perDegree),
             turn: result.turn };
    // The address follows once the views are drawn: a browser may take a while over it.
    clearTimeout(addressPending);
    const address = '#design=' + base64url(JSON.stringify(report.design));
    addressPending = setTimeout(() => history.replaceState(null, '', address));
    drawProfile();
    drawPlot();
    showReport();
    document.body.dataset.state = 'ready';
    $('status').textContent = (report.warnings && report.warnings.length
      ? `${report.warnings.length} warning${report.warnings.length > 1 ? 's' : ''}.` : 'No warnings.');
    // Forces the layout, so that a timing includes it.
    void document.body.offsetHeight;
  }

  // Opens a design file's text (a design object or a whole report): the command reads it as --design does.
  function openDesign(text, origin) {
    let design = null;
    try {
      const value = JSON.parse(text);
      design = value && typeof value === 'object' && value.design ? value.design : value;
    } catch (e) {
      design = null;
    }
    const result = runCam(text, $('per_degree').value.trim());
    clearRefusals();
    if (result.status !== 0 || !design) {
      const why = result.status !== 0 ? message(result.err) : 'not a design';
      $('form-message').textContent = `${origin}: ${why}`;
      $('form-message').hidden = false;
      return false;
    }
    formFromDesign(JSON.parse(result.out).design);
    accept(result, $('per_degree').value.trim(), text);
    return true;
  }

  // ---- the address ----

  function base64url(text) {
    const bytes = new TextEncoder().encode(text);
    let binary = '';
    for (const b of bytes)
      binary += String.fromCharCode(b);
    return btoa(binary).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
  }
  function fromBase64url(text) {
    const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
    return new TextDecoder('utf-8', { fatal: true }).decode(Uint8Array.from(binary, (c) => c.charCodeAt(0)));
  }

  // ---- the views ----

  // Makes `shown` (in the page) show what `fresh` (a new drawing of the same view) shows, changing only what
  // differs: a view redrawn with the same elements keeps them, and only what changed is laid out again.
  function patch(shown, fresh) {
    if (shown.nodeName !== fresh.nodeName) {
      shown.replaceWith(document.importNode(fresh, true));
      return;
    }
    if (shown.nodeType !== Node.ELEMENT_NODE) {
      if (shown.nodeValue !== fresh.nodeValue)
        shown.nodeValue = fresh.nodeValue;
      return;
    }
    // Mostly the same attributes in the same order, some with new values.
    const had = shown.attributes, has = fresh.attributes;
    let same = had.length === has.length;
    for (let i = 0; same && i < has.length; i++) {
      if (had[i].name !== has[i].name)
        same = false;
      else if (had[i].value !== has[i].value)
        had[i].value = has[i].value;
    }
    if (!same) {
      for (const { name } of Array.from(had))
        if (!fresh.hasAttribute(name))
          shown.removeAttribute(name);
      for (const { name, value } of has)
        if (shown.getAttribute(name) !== value)
          shown.setAttribute(name, value);
    }
    const children = shown.childNodes, freshChildren = fresh.childNodes;
    if (children.length !== freshChildren.length) {
      shown.replaceChildren(...Array.from(freshChildren, (child) => document.importNode(child, true)));
      return;
    }
    for (let i = 0; i < children.length; i++)
      patch(children[i], freshChildren[i]);
  }

  // The SVG document text as an element, not in the page: read by the HTML parser, several times faster than
  // the XML one.
  function parsedSvg(text) {
    const template = document.createElement('template');
    template.innerHTML = text.replace(/^<\?xml[^>]*>\s*/, '');
    return template.content.querySelector('svg');
  }

  function svgElement(name, attributes) {
    const element = document.createElementNS(SVG, name);
    for (const [key, value] of Object.entries(attributes))
      element.setAttribute(key, value);
    return element;
  }

  // The follower's parts at lift s, in the fixed frame (y up): lines and circles, as the command's help describes
  // the geometry (the follower at x = E, or the arm about the pivot at (D, 0); mirrored for a counter-clockwise cam).
  function followerShapes(design, s) {
    const shapes = clockwiseFollowerShapes(design, s);
    if (design.turn !== 'ccw')
      return shapes;
    // A counter-clockwise cam is the clockwise one mirrored, its follower too (x -> -x).
    return { lines: shapes.lines.map(([x1, y1, x2, y2]) => [-x1, y1, -x2, y2]),
             circles: shapes.circles.map(([x, y, r]) => [-x, y, r]) };
  }
  function clockwiseFollowerShapes(design, s) {
    const r0 = design.base_radius;
    const rf = design.roller_radius || 0;
    const stem = 0.8 * r0;
    switch (design.follower) {
    case 'oscillating-roller': {
      const d = design.pivot_distance, l = design.arm_length, rp = r0 + rf;
      const x0 = (rp * rp - l * l + d * d) / (2 * d);
      const a0 = Math.atan2(Math.sqrt(Math.max(rp * rp - x0 * x0, 0)), x0 - d);
      // A swing takes the roller away from the cam centre.
      const a = a0 - Math.sign(d) * s * Math.PI / 180;
      const cx = d + l * Math.cos(a), cy = l * Math.sin(a);
      return { lines: [[d, 0, cx, cy]], circles: [[cx, cy, rf], [d, 0, 0.04 * r0]] };
    }
    case 'flat': {
      const e = design.offset || 0, y = r0 + s;
      const half = Math.max(0.6 * r0, (good && good.report.face_width ? good.report.face_width : 0) / 2 + 0.1 * r0);
      return { lines: [[e - half, y, e + half, y], [e, y, e, y + stem]], circles: [] };
    }
    default: {
      const e = design.offset || 0, rp = r0 + rf;
      const y = Math.sqrt(rp * rp - e * e) + s;
      return { lines: [[e, y, e, y + stem]], circles: rf > 0 ? [[e, y, rf]] : [] };
    }
    }
  }

  // The command's profile picture (contour, pitch curve, base circle, marks, crossing stretches), turned by θ,
  // with the follower drawn where it stands at θ.
  function drawProfile() {
    const svg = $('profile');
    const source = parsedSvg(good.files.profile);
    const design = good.report.design;
    // Room for the cam turned any way and for the follower at its highest.
    const top = followerShapes(design, Math.max(...good.turn.lifts));
    let extent = good.turn.reach;
    for (const [x1, y1, x2, y2] of top.lines)
      extent = Math.max(extent, Math.abs(x1), Math.abs(y1), Math.abs(x2), Math.abs(y2));
    for (const [x, y, r] of top.circles)
      extent = Math.max(extent, Math.abs(x) + r, Math.abs(y) + r);
    extent *= 1.05;
    svg.setAttribute('viewBox', `${-extent} ${-extent} ${2 * extent} ${2 * extent}`);
    const cam = svgElement('g', { id: 'turning-cam' });
    for (const group of source.querySelectorAll(':scope > g'))
      cam.append(...group.childNodes);
    // The picture's follower stands at θ = 0 in the cam's frame: turned with the cam it would be a second one.
    // The page draws the follower where it stands instead.
    const standing = cam.querySelector('#follower');
    if (standing)
      standing.remove();
    const world = svgElement('g', { transform: 'scale(1,-1)', fill: 'none', 'stroke-linejoin': 'round' });
    world.append(cam, svgElement('g', { id: 'follower-drawing' }));
    if (svg.firstElementChild)
      patch(svg.firstElementChild, world);
    else
      svg.replaceChildren(world);
    const angle = $('angle');
    angle.step = String(1 / good.perDegree);
    turnTo(Number(angle.value));
  }

  function turnTo(theta) {
    if (!good)
      return;
    const design = good.report.design;
    const sign = design.turn === 'ccw' ? 1 : -1;
    $('turning-cam').setAttribute('transform', `rotate(${sign * theta})`);
    const follower = $('follower-drawing');
    follower.replaceChildren();
    $('angle-value').textContent = `${theta.toFixed(1)}°`;
    const cursor = $('plot-cursor');
    if (cursor)
      cursor.setAttribute('transform', `translate(${theta * cursor.dataset.perDegree},0)`);
    const lifts = good.turn.lifts;
    const shapes = followerShapes(design, lifts[Math.min(Math.round(theta * good.perDegree), lifts.length - 1)]);
    const width = design.base_radius / 80;
    for (const [x1, y1, x2, y2] of shapes.lines)
      follower.append(svgElement('line', { x1, y1, x2, y2, stroke: '#222', 'stroke-width': 2 * width }));
    for (const [cx, cy, r] of shapes.circles)
      follower.append(svgElement('circle', { cx, cy, r, stroke: '#222', 'stroke-width': width, fill: '#bbb' }));
  }

  // The command's turn plot, with a cursor at θ on its shared angle axis (found from the axis' 0° and 360° labels).
  function drawPlot() {
    const holder = $('plot');
    if (!good.files.plot) {
      holder.textContent = 'This camprofile draws no turn plot.';
      return;
    }
    const fresh = parsedSvg(good.files.plot);
    fresh.removeAttribute('width');
    fresh.removeAttribute('height');
    const cursorBefore = $('plot-cursor');
    if (cursorBefore)
      cursorBefore.remove();
    if (holder.firstElementChild && holder.firstElementChild.nodeName === 'svg')
      patch(holder.firstElementChild, fresh);
    else
      holder.replaceChildren(document.importNode(fresh, true));
    const svg = holder.firstElementChild;
    const labels = Array.from(svg.querySelectorAll('text'));
    const at = (text) => labels.filter((t) => t.textContent.trim() === text)
      .map((t) => Number(t.getAttribute('x'))).pop();
    const x0 = at('0'), x360 = at('360');
    if (x0 === undefined || x360 === undefined)
      return;
    const box = svg.viewBox.baseVal;
    const cursor = svgElement('line', { id: 'plot-cursor', x1: x0, x2: x0, y1: box.y, y2: box.y + box.height,
                                        stroke: '#d07000', 'stroke-width': 1.5 });
    cursor.dataset.perDegree = String((x360 - x0) / 360);
    svg.append(cursor);
    turnTo(Number($('angle').value));
  }

  function figure(value) {
    if (value === null || value === undefined)
      return '—';
    if (typeof value === 'number')
      return Number.isInteger(value) ? String(value) : String(Number(value.toPrecision(6)));
    if (Array.isArray(value))
      return value.length ? value.map((v) => (Array.isArray(v) ? `${figure(v[0])}–${figure(v[1])}°` : figure(v))).join(', ')
                          : 'none';
    return String(value);
  }

  // The report's figures as a table (the design itself is in the form), the warnings above it.
  function showReport() {
    const report = good.report;
    $('report-json').textContent = good.reportText;
    const warnings = $('warnings');
    warnings.replaceChildren(...(report.warnings || []).map((w) => {
      const li = document.createElement('li');
      li.textContent = w;
      return li;
    }));
    const rows = [];
    const add = (key, value) => {
      const tr = document.createElement('tr');
      const th = document.createElement('th');
      th.scope = 'row';
      th.textContent = key.replace(/_/g, ' ');
      const td = document.createElement('td');
      td.textContent = figure(value);
      tr.append(th, td);
      rows.push(tr);
    };
    for (const [key, value] of Object.entries(report)) {
      if (key === 'design' || key === 'warnings')
        continue;
      if (key === 'segments' && Array.isArray(value)) {
        value.forEach((segment, i) => add(`segment ${i + 1}`, Object.entries(segment)
          .filter(([k]) => k !== 'points' && k !== 'law').map(([k, v]) => `${k.replace(/_/g, ' ')} ${figure(v)}`).join('; ')));
      } else if (value && typeof value === 'object' && !Array.isArray(value)) {
        for (const [k, v] of Object.entries(value))
          add(`${key} ${k}`, v);
      } else {
        add(key, value);
      }
    }
    const fresh = document.createElement('tbody');
    fresh.append(...rows);
    patch($('report').tBodies[0], fresh);
  }

  // ---- files ----

  // Each download is the command run for its file, with the cutter's and the fit's fields where they matter.
  const DOWNLOADS = {
    design: { name: 'cam-design.json' },
    table: { name: 'cam-table.csv', option: '--table' },
    'profile-svg': { name: 'cam-profile.svg', option: '--profile', extra: ['--tolerance'] },
    plot: { name: 'cam-plot.svg', option: '--plot' },
    'profile-dxf': { name: 'cam-profile.dxf', option: '--profile', extra: ['--tolerance'] },
    pitch: { name: 'cam-pitch.dxf', option: '--pitch', extra: ['--tolerance'] },
    polar: { name: 'cam-polar.csv', option: '--polar' },
    toolpath: { name: 'cam-toolpath.nc', option: '--toolpath', extra: ['--cutter-radius', '--tolerance', '--feed'] },
  };

  // The file the command writes for the last good cam; a refusal shows the command's message. The design is the
  // command's JSON report, which --design reads back.
  function download(what) {
    const file = DOWNLOADS[what];
    const refusal = $('files-message');
    refusal.hidden = true;
    if (!good)
      return;
    let bytes;
    if (what === 'design') {
      bytes = new TextEncoder().encode(good.reportText);
    } else {
      const args = ['cam', '--design', DESIGN_FILE, '--per-degree', String(good.perDegree), file.option, OUT + file.name];
      for (const option of (file.extra || []).filter(has))
        args.push(option, document.querySelector(`[data-option="${option}"]`).value.trim());
      engine.FS.writeFile(DESIGN_FILE, good.designText);
      clearOutputs();
      const result = camprofile(args);
      if (result.status !== 0) {
        refusal.textContent = message(result.err);
        refusal.hidden = false;
        return;
      }
      bytes = readOutput(file.name, true);
    }
    const link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], { type: 'application/octet-stream' }));
    link.download = file.name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
  }

  // ---- events ----

  function play() {
    const button = $('play');
    const playing = button.getAttribute('aria-pressed') !== 'true';
    button.setAttribute('aria-pressed', String(playing));
    button.textContent = playing ? 'Pause' : 'Play';
    if (!playing)
      return;
    let last = performance.now();
    const step = (now) => {
      if (button.getAttribute('aria-pressed') !== 'true')
        return;
      const angle = $('angle');
      const theta = (Number(angle.value) + (now - last) / 1000 * 360 / TURN_SECONDS) % 360;
      last = now;
      angle.value = String(theta);
      turnTo(Number(angle.value));
      requestAnimationFrame(step);
    };
    requestAnimationFrame(step);
  }

  function wire() {
    const form = $('design-form');
    // The cutter's fields and the file picker belong to the downloads, not to the cam.
    const ofTheCam = (target) => target.id !== 'open-file' && !(target.dataset.option && target.id !== 'per_degree');
    form.addEventListener('input', (event) => {
      if (ofTheCam(event.target))
        scheduleUpdate();
    });
    form.addEventListener('change', (event) => {
      if (!ofTheCam(event.target))
        return;
      if (event.target.id === 'follower' || event.target.dataset.field === 'kind' || event.target.dataset.field === 'law')
        showFollowerFields();
      update();
    });
    form.addEventListener('submit', (event) => event.preventDefault());
    $('segments').addEventListener('click', (event) => {
      const action = event.target.dataset && event.target.dataset.action;
      if (!action)
        return;
      const row = event.target.closest('tr');
      const tbody = row.parentNode;
      if (action === 'up' && row.previousElementSibling)
        tbody.insertBefore(row, row.previousElementSibling);
      else if (action === 'down' && row.nextElementSibling)
        tbody.insertBefore(row.nextElementSibling, row);
      else if (action === 'remove')
        row.remove();
      numberRows();
      update();
      const again = action !== 'remove' && row.querySelector(`[data-action="${action}"]`);
      if (again)
        again.focus();
    });
    $('add-segment').addEventListener('click', () => {
      $('segments').tBodies[0].append(segmentRow({ kind: 'dwell', angle_deg: 10 }));
      numberRows();
      update();
      $('segments').tBodies[0].lastElementChild.querySelector('select').focus();
    });
    for (const button of document.querySelectorAll('[data-download]'))
      button.addEventListener('click', () => download(button.dataset.download));
    $('angle').addEventListener('input', () => turnTo(Number($('angle').value)));
    $('play').addEventListener('click', play);
    $('copy-link').addEventListener('click', () => {
      if (navigator.clipboard)
        navigator.clipboard.writeText(location.href).then(() => { $('status').textContent = 'Link copied.'; },
                                                         () => { $('status').textContent = location.href; });
    });
    $('open-file').addEventListener('change', () => {
      const file = $('open-file').files[0];
      if (file)
        file.text().then((text) => openDesign(text, file.name));
      $('open-file').value = '';
    });
    document.addEventListener('dragover', (event) => event.preventDefault());
    document.addEventListener('drop', (event) => {
      event.preventDefault();
      const file = event.dataTransfer.files[0];
      if (file)
        file.text().then((text) => openDesign(text, file.name));
    });
    window.addEventListener('hashchange', openAddress);
  }

  // The design in the address, if any and if it is not the one shown.
  function openAddress() {
    const match = /^#design=(.*)$/.exec(location.hash);
    if (!match || (good && match[1] === base64url(JSON.stringify(good.report.design))))
      return true;
    let text = null;
    try {
      text = fromBase64url(match[1]);
    } catch (e) {
      text = null;
    }
    if (text === null || !openDesign(text, 'The design in the address')) {
      // The default cam, the command's message kept above the form.
      const why = text === null ? 'The design in the address: not base64url text of a design file'
                                : $('form-message').textContent;
      formFromDesign(defaultDesign);
      update();
      $('form-message').textContent = why;
      $('form-message').hidden = false;
      return false;
    }
    return true;
  }

  // The laws as `camprofile cam --help` lists them: "law 0..9 or a name: parabolic, harmonic, …".
  function lawsFromHelp(help) {
    const list = /0\.\.\d+ or a name: ([\w-]+(?:, [\w-]+)*)/.exec(help.replace(/\s+/g, ' '));
    return list[1].split(', ').map((name, number) => ({ number, name }));
  }

  function start(module) {
    engine = module;
    engine.FS.mkdir(OUT.slice(0, -1));
    outputOptions = camprofile(['cam', '--help']).out;
    lawChoices = lawsFromHelp(outputOptions);
    for (const [what, file] of Object.entries(DOWNLOADS))
      if (file.option && !has(file.option))
        document.querySelector(`[data-download="${what}"]`).hidden = true;
    // The running inputs where this camprofile has them.
    $('running').hidden = !has('--speed');
    for (const option of ['--cutter-radius', '--tolerance', '--feed'])
      if (!has(option))
        document.querySelector(`[data-option="${option}"]`).closest('.field').hidden = true;
    wire();
    // The default cam is the command's: `camprofile cam cycloid`. A design in the address replaces it; a bad one
    // leaves the default cam, and the address then names it, with the command's message above the form.
    const address = location.hash;
    defaultDesign = JSON.parse(camprofile(['cam', 'cycloid', '--json']).out).design;
    formFromDesign(defaultDesign);
    update();
    if (/^#design=/.test(address)) {
      history.replaceState(null, '', address);
      openAddress();
    }
    for (let i = 0; i < WARM_UP_RUNS && good; i++) {
      const perDegree = String(good.perDegree), result = runCam(good.designText, perDegree);
      if (result.status === 0)
        accept(result, perDegree, good.designText);
    }
    if (document.body.dataset.state === 'loading')
      document.body.dataset.state = 'ready';
  }

  // What a test or a curious person can ask the page: the time of each change taken up (ms, from the change to
  // the views redrawn and laid out, or to the refusal shown), and the form's design object.
  window.designer = {
    updateTimes: () => updateTimes.slice(),
    design: () => designFromForm(),
  };

  createDesigner().then(start);
})();

// Starts the page: the tool's settings, the controls, then the document (the page's own, the one
// beside the page, or one the user gives).
import { say } from './messages.js';
import { $, view, mark, setState, pageSizeSetting, xmlPathSetting, baseName } from './dom.js';
import { readLayout } from './table.js';
import { choosePageSizes } from './header.js';
import { wireControls, wireLoader } from './controls.js';
import { embeddedSource, bytesSource, fetchBeside } from './sources.js';
import { load, askForFile } from './load.js';

async function start() {
  mark('script-start');
  setState('loading');
  const layout = readLayout();
  const path = xmlPathSetting();
  $('xml-file').textContent = path || say.notSaved;
  view.pageSize = pageSizeSetting();
  choosePageSizes();
  wireControls();
  wireLoader(layout);
  let source;
  try {
    source = embeddedSource();
  } catch (e) {
    source = null;
  }
  if (source) {
    load(source, layout, '');
    return;
  }
  const bytes = await fetchBeside(path);
  if (bytes && bytes.length) load(bytesSource(bytes), layout, '');
  else askForFile(bytes ? say.unreadable(baseName(path)) : '');
}

start();

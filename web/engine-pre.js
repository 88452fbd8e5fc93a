// The engine inside a function, so that the page can hand its source to a
// worker: file:// pages may not fetch scripts.
function fdtoolsEngine() {

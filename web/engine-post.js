return createFdtools;
}
var createFdtools = fdtoolsEngine();
if (typeof module === "object" && module.exports) module.exports = createFdtools;

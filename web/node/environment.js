// The driver under Node sees the caller's environment (LC_ALL, LANGUAGE, HOME...) as the desktop
// driver does; Emscripten would otherwise give it a made-up one.
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  for (var name in process.env) ENV[name] = process.env[name];
});

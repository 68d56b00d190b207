// Before main: the player's kept settings come back from IndexedDB, and a
// play to replay is fetched into the file system.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function() {
  var folder = '/home/web_user/.config/tolvek';
  FS.mkdirTree(folder);
  FS.mount(IDBFS, {}, folder);
  addRunDependency('settings');
  FS.syncfs(true, function(error) {
    if (error) err('tolvek: the kept settings cannot be read: ' + error);
    removeRunDependency('settings');
  });
  var play = Module['playToReplay'];
  if (play) {
    addRunDependency('play');
    fetch(play.url).then(function(response) {
      if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
      return response.arrayBuffer();
    }).then(function(bytes) {
      FS.mkdirTree('/plays');
      FS.writeFile(play.path, new Uint8Array(bytes));
    }).catch(function(error) {
      err('tolvek: ' + play.url + ': ' + error.message);
    }).finally(function() {
      removeRunDependency('play');
    });
  }
});

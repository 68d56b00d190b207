// The page's side of the game: how it ended, and the settings kept in the
// browser's storage.
mergeInto(LibraryManager.library, {
  tolvek_ended: function(code) {
    if (Module['onGameEnded']) Module['onGameEnded'](code);
  },

  // A save ends with fsync of the file, its rename over the old one, and
  // fsync of the folder. In the browser the folder lives in memory and
  // IndexedDB keeps it: the folder's fsync copies it to IndexedDB in one
  // transaction, so the stored copy is always a whole one, the old or the
  // new. (The file's own fsync copies nothing: the copy reads the files
  // later, by when the temporary one is renamed.) Copies run one at a time;
  // fsyncs that come meanwhile make one more copy after it.
  $tolvekKeeper: {
    busy: false,
    again: false,
    keep: function(mount) {
      if (tolvekKeeper.busy) {
        tolvekKeeper.again = true;
        return;
      }
      tolvekKeeper.busy = true;
      mount.type.syncfs(mount, false, function(error) {
        tolvekKeeper.busy = false;
        if (error) err('tolvek: settings not kept in the browser\'s storage: ' + error);
        if (Module['onSettingsKept']) Module['onSettingsKept'](!error);
        if (tolvekKeeper.again) {
          tolvekKeeper.again = false;
          tolvekKeeper.keep(mount);
        }
      });
    }
  },
  fd_sync__deps: ['$tolvekKeeper'],
  fd_sync: function(fd) {
    var stream = FS.getStream(fd);
    if (!stream) return {{{ cDefine('EBADF') }}};
    var mount = stream.node.mount;
    if (mount.type.syncfs && FS.isDir(stream.node.mode)) tolvekKeeper.keep(mount);
    return 0;
  },
});

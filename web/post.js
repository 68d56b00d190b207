// What the page (and its tests) can ask of the sound: whether the browser
// lets it play, how far its clock has run, and how many queued buffers the
// sources have played through so far.
Module['soundState'] = function() {
  var context = typeof AL != 'undefined' && AL.currentCtx;
  if (!context) return null;
  var played = 0;
  context.sources.forEach(function(source) {
    if (source) played += source.bufsProcessed;
  });
  tolvekSoundPlayed = Math.max(tolvekSoundPlayed, played);
  return {state: context.audioCtx.state, time: context.audioCtx.currentTime,
          buffersPlayed: played};
};
var tolvekSoundPlayed = 0;

// Frames the game has played: what a test waits on instead of the clock.
Module['framesPlayed'] = function() {
  return Browser.mainLoop.currentFrameNumber;
};

// What the page (and its tests) can ask of the sound: whether the browser
// lets it play, how far its clock has run, and how many queued buffers the
// sources have played through so far (counted as OpenAL's emulation advances
// each source by the audio clock).
var tolvekBuffersPlayed = 0;
if (typeof AL != 'undefined') {
  var tolvekAdvance = AL.updateSourceTime;
  AL.updateSourceTime = function(source) {
    var before = source.bufsProcessed;
    var time = tolvekAdvance.call(AL, source);
    tolvekBuffersPlayed += Math.max(0, source.bufsProcessed - before);
    return time;
  };
}
Module['soundState'] = function() {
  var context = typeof AL != 'undefined' && AL.currentCtx;
  if (!context) return null;
  return {state: context.audioCtx.state, time: context.audioCtx.currentTime,
          buffersPlayed: tolvekBuffersPlayed};
};

// Frames the game has played: what a test waits on instead of the clock.
Module['framesPlayed'] = function() {
  return Browser.mainLoop.currentFrameNumber;
};

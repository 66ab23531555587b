// What the page's tests read: each OpenAL source's state, looping, place and the frames
// of its first buffer (AL_PLAYING is 0x1012).
Module["soundSources"] = function () {
  var found = [];
  if (typeof AL === "undefined" || !AL.currentCtx) return found;
  var sources = AL.currentCtx.sources;
  for (var id in sources) {
    var source = sources[id];
    var first = source.bufQueue.length ? source.bufQueue[0] : null;
    found.push({ playing: source.state === 0x1012, looping: !!source.looping, frames: first ? first.length : 0,
                 position: Array.from(source.position) });
  }
  return found;
};

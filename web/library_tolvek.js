// The page's side of the SDL layer (web/SdlApi.cpp and its classes): the
// canvas, its WebGL context, full screen, and the GL 1.x calls the legacy GL
// emulation lacks that need its state.
mergeInto(LibraryManager.library, {
  $tolvekScreen: {
    // A full-screen request not yet answered.
    asking: false,

    // The texture's size is kept at each upload for glGetTexImage, which
    // WebGL cannot ask. WebGL 1 knows neither sized formats (GL_RGBA8) nor
    // repeating a texture whose sides are not powers of two: the game's
    // pictures draw inside [0, 1], so clamping draws them the same.
    patch: function(gl) {
      var webgl2 = typeof WebGL2RenderingContext != 'undefined' &&
                   gl instanceof WebGL2RenderingContext;
      var sized = {0x8058 /* GL_RGBA8 */: 0x1908, 0x8051 /* GL_RGB8 */: 0x1907};
      var upload = gl.texImage2D;
      gl.texImage2D = function(target, level, internalFormat, width, height) {
        var args = Array.prototype.slice.call(arguments);
        // Emscripten passes pixels as a view, or as a heap and offset in WebGL 2.
        if (args.length < 9 || target != gl.TEXTURE_2D) return upload.apply(gl, args);
        if (!webgl2 && internalFormat in sized) args[2] = sized[internalFormat];
        var result = upload.apply(gl, args);
        var texture = gl.getParameter(gl.TEXTURE_BINDING_2D);
        if (texture && level == 0) texture.tolvekSize = [width, height];
        var powers = (width & (width - 1)) == 0 && (height & (height - 1)) == 0;
        if (!webgl2 && !powers) {
          gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_S, gl.CLAMP_TO_EDGE);
          gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_WRAP_T, gl.CLAMP_TO_EDGE);
        }
        return result;
      };
      // WebGL reads RGBA only; the game's frame shots read RGB.
      var read = gl.readPixels;
      gl.readPixels = function(x, y, width, height, format, type, pixels, offset) {
        if (format != gl.RGB || type != gl.UNSIGNED_BYTE || !pixels)
          return read.apply(gl, arguments);
        var view = arguments.length > 7 ? pixels.subarray(offset) : pixels;
        var rgba = new Uint8Array(width * height * 4);
        read.call(gl, x, y, width, height, gl.RGBA, type, rgba);
        var align = gl.getParameter(gl.PACK_ALIGNMENT);
        var stride = Math.ceil(width * 3 / align) * align;
        for (var row = 0; row < height; ++row) {
          for (var i = 0; i < width; ++i) {
            var to = row * stride + i * 3, from = (row * width + i) * 4;
            if (to + 2 >= view.length) return;
            view[to] = rgba[from];
            view[to + 1] = rgba[from + 1];
            view[to + 2] = rgba[from + 2];
          }
        }
      };
    },

    request: function(canvas) {
      if (!canvas.requestFullscreen) return false;
      tolvekScreen.asking = true;
      var done = function() { tolvekScreen.asking = false; };
      var promise = canvas.requestFullscreen();
      if (promise && promise.then) promise.then(done, done);
      else done();
      return true;
    },
  },

  tolvek_video_open__deps: ['$Browser', '$GL', '$tolvekScreen'],
  tolvek_video_open: function(width, height, depth, stencil, alpha, antialias) {
    var canvas = Module['canvas'];
    if (!canvas) return 0;
    // Setting a size clears the picture even when it is the same one.
    if (canvas.width != width) canvas.width = width;
    if (canvas.height != height) canvas.height = height;
    if (Module.ctx) return 1;
    // As Emscripten's SDL does: this runs the emulation's set-up on the context.
    var gl = Browser.createContext(canvas, true, true, {
      depth: !!depth, stencil: !!stencil, alpha: !!alpha, antialias: !!antialias
    });
    if (!gl) return 0;
    tolvekScreen.patch(gl);
    return 1;
  },

  // Leaving needs nothing of the player; coming in needs a key pressed just
  // before, which the browser tells (userActivation) where it can.
  tolvek_video_fullscreen__deps: ['$tolvekScreen'],
  tolvek_video_fullscreen: function(on) {
    var canvas = Module['canvas'];
    var full = !!document.fullscreenElement;
    if (!on) {
      if (full && document.exitFullscreen) {
        var promise = document.exitFullscreen();
        if (promise && promise.catch) promise.catch(function() {});
      }
      return 1;
    }
    if (full || tolvekScreen.asking) return 1;
    var activation = navigator.userActivation;
    if (!canvas || (activation && !activation.isActive)) return 0;
    return tolvekScreen.request(canvas) ? 1 : 0;
  },

  tolvek_request_fullscreen__deps: ['$tolvekScreen'],
  tolvek_request_fullscreen: function() {
    var canvas = Module['canvas'];
    if (canvas && !document.fullscreenElement && !tolvekScreen.asking) tolvekScreen.request(canvas);
  },

  tolvek_show_cursor: function(shown) {
    var canvas = Module['canvas'];
    if (canvas) canvas.style.cursor = shown ? '' : 'none';
  },

  tolvek_set_title: function(title) {
    document.title = UTF8ToString(title);
  },

  // What the game saves: GL_ENABLE_BIT (texturing, blending, alpha test,
  // scissor), GL_CURRENT_BIT (the colour), GL_COLOR_BUFFER_BIT (blending and
  // its function, the alpha test and its function).
  $tolvekAttributes: [],
  glPushAttrib__deps: ['$tolvekAttributes', '$GLImmediate', '$GLEmulation'],
  glPushAttrib: function(mask) {
    var gl = GLctx;
    var saved = {};
    if (mask & 0x6000 /* GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT */) {
      saved.blend = gl.isEnabled(gl.BLEND);
      saved.alphaTest = GLEmulation.alphaTestEnabled;
    }
    if (mask & 0x2000 /* GL_ENABLE_BIT */) {
      var jit = GLImmediate.TexEnvJIT;
      saved.texture2d = jit.getTexUnitType(jit.getActiveTexture()) == 0xDE1;
      saved.scissor = gl.isEnabled(gl.SCISSOR_TEST);
    }
    if (mask & 0x4000 /* GL_COLOR_BUFFER_BIT */) {
      saved.blendFunc = [gl.getParameter(gl.BLEND_SRC_RGB), gl.getParameter(gl.BLEND_DST_RGB),
                         gl.getParameter(gl.BLEND_SRC_ALPHA), gl.getParameter(gl.BLEND_DST_ALPHA)];
      saved.alphaFunc = [GLEmulation.alphaTestFunc, GLEmulation.alphaTestRef];
    }
    if (mask & 0x1 /* GL_CURRENT_BIT */) saved.color = Array.prototype.slice.call(GLImmediate.clientColor);
    tolvekAttributes.push(saved);
  },

  glPopAttrib__deps: ['$tolvekAttributes', '$GL', 'glEnable', 'glDisable', 'glAlphaFunc', 'glColor4f'],
  glPopAttrib: function() {
    var saved = tolvekAttributes.pop();
    if (!saved) {
      GL.recordError(0x504 /* GL_STACK_UNDERFLOW */);
      return;
    }
    // Through the emulation's own calls, which keep its state.
    var set = function(cap, on) { if (on) _glEnable(cap); else _glDisable(cap); };
    if ('blend' in saved) {
      set(0xBE2 /* GL_BLEND */, saved.blend);
      set(0xBC0 /* GL_ALPHA_TEST */, saved.alphaTest);
    }
    if ('texture2d' in saved) {
      set(0xDE1 /* GL_TEXTURE_2D */, saved.texture2d);
      set(0xC11 /* GL_SCISSOR_TEST */, saved.scissor);
    }
    if (saved.blendFunc) {
      GLctx.blendFuncSeparate(saved.blendFunc[0], saved.blendFunc[1], saved.blendFunc[2],
                              saved.blendFunc[3]);
      _glAlphaFunc(saved.alphaFunc[0], saved.alphaFunc[1]);
    }
    if (saved.color) _glColor4f(saved.color[0], saved.color[1], saved.color[2], saved.color[3]);
  },

  // Level 0 as RGBA bytes, read through a framebuffer the texture is
  // attached to (WebGL has no glGetTexImage).
  glGetTexImage__deps: ['$GL'],
  glGetTexImage: function(target, level, format, type, pixels) {
    var gl = GLctx;
    var texture = gl.getParameter(gl.TEXTURE_BINDING_2D);
    var size = texture && texture.tolvekSize;
    if (target != 0xDE1 || level != 0 || format != 0x1908 || type != 0x1401 || !size) {
      GL.recordError(0x500 /* GL_INVALID_ENUM */);
      return;
    }
    var previous = gl.getParameter(gl.FRAMEBUFFER_BINDING);
    var framebuffer = gl.createFramebuffer();
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
    gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
    if (gl.checkFramebufferStatus(gl.FRAMEBUFFER) == gl.FRAMEBUFFER_COMPLETE) {
      var bytes = size[0] * size[1] * 4;
      gl.readPixels(0, 0, size[0], size[1], gl.RGBA, gl.UNSIGNED_BYTE,
                    HEAPU8.subarray(pixels, pixels + bytes));
    } else {
      GL.recordError(0x506 /* GL_INVALID_FRAMEBUFFER_OPERATION */);
    }
    gl.bindFramebuffer(gl.FRAMEBUFFER, previous);
    gl.deleteFramebuffer(framebuffer);
  },
});

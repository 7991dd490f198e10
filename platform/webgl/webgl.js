// The WebGL side of the page's OpenGL (webgl.h declares it): the canvas's context, one shader
// program with OpenGL 1.1's lighting equation per vertex, the buffer of glBegin/glEnd, the
// sphere's mesh and the spheres of an instanced draw. opengl.cpp keeps the state; these
// functions only hand it to WebGL.

mergeInto(LibraryManager.library, {
  $WebGl: {
    surface: null,    // the canvas's WebGL context, once a pixel format is set
    instancing: null, // its ANGLE_instanced_arrays
    gl: null,         // the same, while the rendering context is current and not lost
    created: false,   // the rendering context exists (wglCreateContext)
    current: false,
    lost: false,      // the browser has taken the context away
    program: null,
    uniforms: null,
    immediate: null,
    sphere: null,     // {vertices, indices, count}
    spheres: null,    // the buffer of an instanced draw's spheres (webgl.h's WebGlSphere)
    restored: 0,      // opengl.cpp's int that says WebGL holds nothing again
    drawing: '',      // which buffers the attributes point into: 'immediate' or 'sphere'
    views: null,      // on the WebGlState that draws send, which stays where it is
    parts: null,      // WebGlState's, in the order of their bits: {at, bytes, send}
    modelviewAt: 0,   // WebGlState's modelview, in bytes
    sphereFields: null,  // where WebGlSphere's fields are, and its size, in bytes
    vertexFields: null,  // the same of WebGlVertex
    lossNotice: null, // the timer that says so when the context stays lost
    statusBefore: '',

    // The fixed-function state in use: light 0 white, directional from (0, 0, 1) in eye
    // space, with no ambient part of its own; global ambient light 0.2; no specular
    // reflectance, so no specular term; no emission. Normals are not normalised. A sphere,
    // one instance of the mesh, brings the last column of its modelview matrix, its colour and
    // its radius; glBegin/glEnd's vertices have the modelview's own last column and 1. (One
    // path for both: software renderers run both sides of a branch.)
    VERTEX_SHADER: [
      'attribute vec3 position;',
      'attribute vec3 normal;',
      'attribute vec4 colour;',
      'attribute vec4 place;',
      'attribute float radius;',
      'uniform mat4 projection;',
      'uniform mat4 modelview;',
      'uniform mat3 normalMatrix;',
      'uniform bool lighting;',
      'uniform bool light0;',
      'uniform bool colourMaterial;',
      'varying vec4 litColour;',
      'void main() {',
      '  gl_Position = projection * (mat4(modelview[0], modelview[1], modelview[2], place) *',
      '                              vec4(position * radius, 1.0));',
      '  if (!lighting) {',
      '    litColour = colour;',
      '    return;',
      '  }',
      '  vec4 ambient = colourMaterial ? colour : vec4(0.2, 0.2, 0.2, 1.0);',
      '  vec4 diffuse = colourMaterial ? colour : vec4(0.8, 0.8, 0.8, 1.0);',
      '  vec3 lit = 0.2 * ambient.rgb;',
      '  if (light0)',
      '    lit += max(dot(normalMatrix * normal, vec3(0.0, 0.0, 1.0)), 0.0) * diffuse.rgb;',
      '  litColour = vec4(clamp(lit, 0.0, 1.0), diffuse.a);',
      '}'].join('\n'),
    FRAGMENT_SHADER: [
      'precision mediump float;',
      'varying vec4 litColour;',
      'void main() {',
      '  gl_FragColor = litColour;',
      '}'].join('\n'),
    POSITION: 0,
    NORMAL: 1,
    COLOUR: 2,
    PLACE: 3,
    RADIUS: 4,
    LOSS_NOTICE_MS: 3000,
    LOSS_TEXT: 'L\u2019image est perdue\u00a0: le navigateur a repris le contexte graphique et ne l\u2019a pas rendu. ' +
               'Rechargez la page pour la retrouver.',

    // --- the layout of webgl.h's records, as opengl.cpp gives it ---

    // How each part of WebGlState reaches WebGL, by its field's name, from views on it as floats
    // and as ints; lighting holds WebGlLighting's switches, which are the uniforms' names.
    SEND: {
      projection: function(gl, floats) {
        gl.uniformMatrix4fv(WebGl.uniforms.projection, false, floats);
      },
      modelview: function(gl, floats) {
        gl.uniformMatrix4fv(WebGl.uniforms.modelview, false, floats);
      },
      normalMatrix: function(gl, floats) {
        gl.uniformMatrix3fv(WebGl.uniforms.normalMatrix, false, floats);
      },
      lighting: function(gl, floats, ints) {
        gl.uniform1i(WebGl.uniforms.lighting, ints[0]);
        gl.uniform1i(WebGl.uniforms.light0, ints[1]);
        gl.uniform1i(WebGl.uniforms.colourMaterial, ints[2]);
      },
      depthTest: function(gl, floats, ints) {
        if (ints[0])
          gl.enable(gl.DEPTH_TEST);
        else
          gl.disable(gl.DEPTH_TEST);
      },
      viewport: function(gl, floats, ints) {
        gl.viewport(ints[0], ints[1], ints[2], ints[3]);
      },
    },
    // The fields of a sphere and of a vertex that the attributes point at.
    ATTRIBUTE_FIELDS: ['WebGlSphere.place', 'WebGlSphere.colour', 'WebGlSphere.radius',
                       'WebGlVertex.position', 'WebGlVertex.normal', 'WebGlVertex.colour'],

    // Takes the fields' places (webgl.h's WebGlOpenSurface). Every field must be one this file
    // reads, and every one it reads must be there: a field added on one side only stops the
    // program here.
    learnLayout: function(names, places) {
      var fields = {};
      UTF8ToString(names).trim().split(' ').forEach(function(name, i) {
        fields[name] = {at: HEAP32[(places >> 2) + 2 * i], bytes: HEAP32[(places >> 2) + 2 * i + 1]};
      });
      var read = Object.keys(WebGl.SEND).map(function(part) { return 'WebGlState.' + part; })
        .concat(WebGl.ATTRIBUTE_FIELDS);
      var given = Object.keys(fields);
      var unmatched = given.filter(function(name) { return read.indexOf(name) < 0; })
        .concat(read.filter(function(name) { return !(name in fields); }));
      if (unmatched.length)
        throw new Error('webgl.h and webgl.js disagree on ' + unmatched.join(', '));
      WebGl.parts = given.filter(function(name) { return name.startsWith('WebGlState.'); })
        .map(function(name) {
          var part = fields[name];
          return {at: part.at, bytes: part.bytes, send: WebGl.SEND[name.slice('WebGlState.'.length)]};
        });
      WebGl.modelviewAt = fields['WebGlState.modelview'].at;
      WebGl.sphereFields = WebGl.record(fields, 'WebGlSphere');
      WebGl.vertexFields = WebGl.record(fields, 'WebGlVertex');
    },

    // A record's fields' offsets by their names, and its size: its fields fill it.
    record: function(fields, record) {
      var offsets = {bytes: 0};
      Object.keys(fields).forEach(function(name) {
        var recordAndField = name.split('.');
        if (recordAndField[0] !== record)
          return;
        offsets[recordAndField[1]] = fields[name].at;
        offsets.bytes = Math.max(offsets.bytes, fields[name].at + fields[name].bytes);
      });
      return offsets;
    },

    // --- the rendering context ---

    compile: function(gl, type, source) {
      var shader = gl.createShader(type);
      gl.shaderSource(shader, source);
      gl.compileShader(shader);
      return shader;
    },

    link: function(gl) {
      var program = gl.createProgram();
      gl.attachShader(program, WebGl.compile(gl, gl.VERTEX_SHADER, WebGl.VERTEX_SHADER));
      gl.attachShader(program, WebGl.compile(gl, gl.FRAGMENT_SHADER, WebGl.FRAGMENT_SHADER));
      gl.bindAttribLocation(program, WebGl.POSITION, 'position');
      gl.bindAttribLocation(program, WebGl.NORMAL, 'normal');
      gl.bindAttribLocation(program, WebGl.COLOUR, 'colour');
      gl.bindAttribLocation(program, WebGl.PLACE, 'place');
      gl.bindAttribLocation(program, WebGl.RADIUS, 'radius');
      gl.linkProgram(program);
      return program;
    },

    // The program and buffers of the rendering context, in a new or restored WebGL context.
    build: function(gl) {
      var program = WebGl.link(gl);
      if (!gl.getProgramParameter(program, gl.LINK_STATUS))
        return false;
      WebGl.program = program;
      WebGl.uniforms = {};
      ['projection', 'modelview', 'normalMatrix', 'lighting', 'light0',
       'colourMaterial'].forEach(function(name) {
        WebGl.uniforms[name] = gl.getUniformLocation(program, name);
      });
      WebGl.immediate = gl.createBuffer();
      WebGl.sphere = {vertices: gl.createBuffer(), indices: gl.createBuffer(), count: 0};
      WebGl.spheres = gl.createBuffer();
      gl.enableVertexAttribArray(WebGl.POSITION);
      gl.enableVertexAttribArray(WebGl.NORMAL);
      gl.enableVertexAttribArray(WebGl.COLOUR);
      return true;
    },

    makeCurrent: function(current) {
      WebGl.current = current;
      WebGl.gl = current && !WebGl.lost ? WebGl.surface : null;
      WebGl.drawing = '';
      if (WebGl.gl)
        WebGl.gl.useProgram(WebGl.program);
    },

    // The browser may take the context away (a GPU reset, a driver update) and give it back
    // empty. Meanwhile drawing does nothing and the program runs on, as a window that cannot
    // draw; when it comes back, the program and buffers are made again and everything else
    // is sent with the next draw.
    watchLoss: function(canvas) {
      canvas.addEventListener('webglcontextlost', function(event) {
        event.preventDefault();  // else the browser never gives it back
        WebGl.lost = true;
        WebGl.makeCurrent(WebGl.current);
        WebGl.lossNotice = setTimeout(function() { WebGl.tellLoss(true); }, WebGl.LOSS_NOTICE_MS);
      });
      canvas.addEventListener('webglcontextrestored', function() {
        clearTimeout(WebGl.lossNotice);
        WebGl.tellLoss(false);
        WebGl.lost = false;
        if (ABORT)
          return;
        // (Extensions are the context's: the restored one's must be asked for again.)
        WebGl.instancing = WebGl.surface.getExtension('ANGLE_instanced_arrays');
        if (WebGl.created && (!WebGl.instancing || !WebGl.build(WebGl.surface))) {
          WebGl.tellLoss(true);
          return;
        }
        WebGl.makeCurrent(WebGl.current);
        HEAP32[WebGl.restored >> 2] = 1;
      });
    },

    // The page's status line says when the picture stays lost, unless the program has ended
    // and the line says that.
    tellLoss: function(lost) {
      var status = document.getElementById('status');
      if (!status || ABORT)
        return;
      if (lost && status.textContent !== WebGl.LOSS_TEXT) {
        WebGl.statusBefore = status.textContent;
        status.textContent = WebGl.LOSS_TEXT;
      } else if (!lost && status.textContent === WebGl.LOSS_TEXT) {
        status.textContent = WebGl.statusBefore;
      }
    },

    // --- drawing ---

    // Sends the parts of the WebGlState at `state` (webgl.h) that `changes` marks.
    send: function(gl, state, changes) {
      if (changes === 0)
        return;
      var views = WebGl.views;
      // (Wasm memory that grows is a new buffer.)
      if (!views || views.at !== state || views.buffer !== HEAPF32.buffer)
        views = WebGl.views = WebGl.viewsOn(state);
      for (var i = 0; i < views.parts.length; i++) {
        if (changes & (1 << i))
          views.parts[i](gl);
      }
    },

    // Each part's sending, bound to views on it.
    viewsOn: function(state) {
      return {at: state, buffer: HEAPF32.buffer, parts: WebGl.parts.map(function(part) {
        var from = (state + part.at) >> 2;
        var to = from + (part.bytes >> 2);
        var floats = HEAPF32.subarray(from, to);
        var ints = HEAP32.subarray(from, to);
        return function(gl) { part.send(gl, floats, ints); };
      })};
    },

    // Points the attributes at the immediate buffer, or at the sphere's mesh, whose unit
    // normals are its positions too, and the spheres' buffer, one sphere per instance.
    use: function(gl, drawing) {
      if (WebGl.drawing === drawing)
        return;
      WebGl.drawing = drawing;
      var perSphere = drawing === 'sphere' ? 1 : 0;  // the attributes' divisor
      if (perSphere) {
        gl.bindBuffer(gl.ARRAY_BUFFER, WebGl.sphere.vertices);
        gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, WebGl.sphere.indices);
        gl.vertexAttribPointer(WebGl.POSITION, 3, gl.FLOAT, false, 12, 0);
        gl.vertexAttribPointer(WebGl.NORMAL, 3, gl.FLOAT, false, 12, 0);
        var sphere = WebGl.sphereFields;
        gl.bindBuffer(gl.ARRAY_BUFFER, WebGl.spheres);
        gl.vertexAttribPointer(WebGl.PLACE, 4, gl.FLOAT, false, sphere.bytes, sphere.place);
        gl.vertexAttribPointer(WebGl.COLOUR, 4, gl.FLOAT, false, sphere.bytes, sphere.colour);
        gl.vertexAttribPointer(WebGl.RADIUS, 1, gl.FLOAT, false, sphere.bytes, sphere.radius);
        gl.enableVertexAttribArray(WebGl.PLACE);
        gl.enableVertexAttribArray(WebGl.RADIUS);
      } else {
        var vertex = WebGl.vertexFields;
        gl.bindBuffer(gl.ARRAY_BUFFER, WebGl.immediate);
        gl.vertexAttribPointer(WebGl.POSITION, 3, gl.FLOAT, false, vertex.bytes, vertex.position);
        gl.vertexAttribPointer(WebGl.NORMAL, 3, gl.FLOAT, false, vertex.bytes, vertex.normal);
        gl.vertexAttribPointer(WebGl.COLOUR, 4, gl.FLOAT, false, vertex.bytes, vertex.colour);
        gl.disableVertexAttribArray(WebGl.PLACE);
        gl.disableVertexAttribArray(WebGl.RADIUS);
        gl.vertexAttrib1f(WebGl.RADIUS, 1);
      }
      [WebGl.COLOUR, WebGl.PLACE, WebGl.RADIUS].forEach(function(attribute) {
        WebGl.instancing.vertexAttribDivisorANGLE(attribute, perSphere);
      });
    },
  },

  // A WebGL context on the page's canvas, as the surface a pixel format describes: true
  // colour, a depth buffer, no alpha (the page must not show through), double-buffered as
  // every WebGL canvas is. False when the browser has no WebGL.
  WebGlOpenSurface__deps: ['$WebGl'],
  WebGlOpenSurface: function(fieldNames, fieldPlaces, restored) {
    if (!WebGl.surface) {
      WebGl.learnLayout(fieldNames, fieldPlaces);
      WebGl.restored = restored;
      var canvas = Module['canvas'];
      var gl = canvas.getContext('webgl', {
        alpha: false, depth: true, stencil: false, antialias: false,
        preserveDrawingBuffer: false});
      WebGl.instancing = gl && gl.getExtension('ANGLE_instanced_arrays');
      if (!WebGl.instancing)
        return 0;
      WebGl.surface = gl;
      WebGl.watchLoss(canvas);
    }
    return 1;
  },

  // A context lost already gets its program and buffers when the browser gives it back.
  WebGlCreateContext__deps: ['$WebGl'],
  WebGlCreateContext: function() {
    var gl = WebGl.surface;
    if (!gl || (!gl.isContextLost() && !WebGl.build(gl)))
      return 0;
    WebGl.created = true;
    return 1;
  },

  WebGlMakeCurrent__deps: ['$WebGl'],
  WebGlMakeCurrent: function(current) {
    WebGl.makeCurrent(current !== 0);
  },

  WebGlDeleteContext__deps: ['$WebGl'],
  WebGlDeleteContext: function() {
    var gl = WebGl.surface;
    gl.deleteProgram(WebGl.program);
    gl.deleteBuffer(WebGl.immediate);
    gl.deleteBuffer(WebGl.sphere.vertices);
    gl.deleteBuffer(WebGl.sphere.indices);
    gl.deleteBuffer(WebGl.spheres);
    WebGl.program = null;
    WebGl.created = false;
    WebGl.makeCurrent(false);
  },

  WebGlClear__deps: ['$WebGl'],
  WebGlClear: function(mask) {
    if (WebGl.gl)
      WebGl.gl.clear(mask);
  },

  WebGlDrawVertices__deps: ['$WebGl'],
  WebGlDrawVertices: function(state, changes, mode, vertices, count) {
    var gl = WebGl.gl;
    if (!gl)
      return;
    WebGl.send(gl, state, changes);
    if (count === 0)
      return;
    WebGl.use(gl, 'immediate');
    var place = ((state + WebGl.modelviewAt) >> 2) + 12;  // the modelview's last column
    gl.vertexAttrib4f(WebGl.PLACE, HEAPF32[place], HEAPF32[place + 1], HEAPF32[place + 2],
                      HEAPF32[place + 3]);
    gl.bufferData(gl.ARRAY_BUFFER,
                  HEAPU8.subarray(vertices, vertices + count * WebGl.vertexFields.bytes),
                  gl.STREAM_DRAW);
    gl.drawArrays(mode, 0, count);
  },

  WebGlLoadSphere__deps: ['$WebGl'],
  WebGlLoadSphere: function(unitNormals, vertexCount, indices, indexCount) {
    var gl = WebGl.gl;
    if (!gl)
      return;
    WebGl.drawing = '';
    gl.bindBuffer(gl.ARRAY_BUFFER, WebGl.sphere.vertices);
    gl.bufferData(gl.ARRAY_BUFFER,
                  HEAPF32.subarray(unitNormals >> 2, (unitNormals >> 2) + vertexCount * 3),
                  gl.STATIC_DRAW);
    gl.bindBuffer(gl.ELEMENT_ARRAY_BUFFER, WebGl.sphere.indices);
    gl.bufferData(gl.ELEMENT_ARRAY_BUFFER,
                  HEAPU16.subarray(indices >> 1, (indices >> 1) + indexCount), gl.STATIC_DRAW);
    WebGl.sphere.count = indexCount;
  },

  WebGlDrawSpheres__deps: ['$WebGl'],
  WebGlDrawSpheres: function(state, changes, spheres, count) {
    var gl = WebGl.gl;
    if (!gl)
      return;
    WebGl.send(gl, state, changes);
    WebGl.use(gl, 'sphere');
    gl.bindBuffer(gl.ARRAY_BUFFER, WebGl.spheres);
    gl.bufferData(gl.ARRAY_BUFFER,
                  HEAPU8.subarray(spheres, spheres + count * WebGl.sphereFields.bytes),
                  gl.STREAM_DRAW);
    WebGl.instancing.drawElementsInstancedANGLE(gl.TRIANGLES, WebGl.sphere.count,
                                                gl.UNSIGNED_SHORT, 0, count);
  },
});

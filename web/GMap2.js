// Corvantel's map script interface: the GMap2 family of classes that the generated map page
// calls, drawn with Leaflet. The build appends this file to Leaflet's script as "maps".
// Base-map tiles, and those of the page's own map types by their names, come from
// window.CorvantelMapConfig, which the host sets before the page runs; a map type without a
// tile address shows an empty background, and the overlays stay.
(function () {
  "use strict";

  var script = document.currentScript;
  var base = script ? new URL(".", script.src).href : "";
  if (base) {
    var css = document.createElement("link");
    css.rel = "stylesheet";
    css.href = base + "leaflet.css";
    document.head.appendChild(css);
  }
  var config = window.CorvantelMapConfig || {};
  var maps = [];

  // ---- events ----
  function listenersOf(source, name) {
    var all = source.__gEvents || (source.__gEvents = {});
    return all[name] || (all[name] = []);
  }
  window.GEvent = {
    addListener: function (source, name, handler) {
      listenersOf(source, name).push(handler);
      return { source: source, name: name, handler: handler };
    },
    removeListener: function (handle) {
      var list = listenersOf(handle.source, handle.name);
      var i = list.indexOf(handle.handler);
      if (i >= 0) list.splice(i, 1);
    },
    trigger: function (source, name) {
      var args = Array.prototype.slice.call(arguments, 2);
      listenersOf(source, name).slice().forEach(function (h) { h.apply(source, args); });
    }
  };

  // ---- geometry ----
  function GLatLng(lat, lng, noWrap) {
    lat = Number(lat);
    lng = Number(lng);
    if (!noWrap) {
      lat = Math.max(-90, Math.min(90, lat));
      // In-range values stay exactly as given: their texts go back to the host.
      if (lng < -180 || lng >= 180) lng = ((lng + 180) % 360 + 360) % 360 - 180;
    }
    this.y = lat;
    this.x = lng;
  }
  GLatLng.prototype.lat = function () { return this.y; };
  GLatLng.prototype.lng = function () { return this.x; };
  GLatLng.prototype.toString = function () { return "(" + this.y + ", " + this.x + ")"; };
  GLatLng.prototype.equals = function (o) { return !!o && o.y === this.y && o.x === this.x; };
  window.GLatLng = GLatLng;

  function GLatLngBounds(sw, ne) {
    this.sw = sw || null;
    this.ne = ne || null;
  }
  GLatLngBounds.prototype.getSouthWest = function () { return this.sw; };
  GLatLngBounds.prototype.getNorthEast = function () { return this.ne; };
  // The middle on the map's plane, where the zoom that fits the box expects it: the middle
  // latitude would put a box far from the equator partly off the view's edge.
  GLatLngBounds.prototype.getCenter = function () {
    var mercator = L.Projection.SphericalMercator;
    var y = (mercator.project(L.latLng(this.sw.y, 0)).y + mercator.project(L.latLng(this.ne.y, 0)).y) / 2;
    return new GLatLng(mercator.unproject(L.point(0, y)).lat, (this.sw.x + this.ne.x) / 2);
  };
  GLatLngBounds.prototype.extend = function (p) {
    if (!this.sw) { this.sw = new GLatLng(p.y, p.x); this.ne = new GLatLng(p.y, p.x); return; }
    this.sw = new GLatLng(Math.min(this.sw.y, p.y), Math.min(this.sw.x, p.x));
    this.ne = new GLatLng(Math.max(this.ne.y, p.y), Math.max(this.ne.x, p.x));
  };
  GLatLngBounds.prototype.toString = function () { return "(" + this.sw + ", " + this.ne + ")"; };
  window.GLatLngBounds = GLatLngBounds;

  function GSize(w, h) { this.width = w; this.height = h; }
  function GPoint(x, y) { this.x = x; this.y = y; }
  window.GSize = GSize;
  window.GPoint = GPoint;

  function toL(p) { return L.latLng(p.y, p.x); }
  function fromL(ll) { return new GLatLng(ll.lat, ll.lng); }

  // ---- icons ----
  function GIcon(copy, image) {
    copy = copy || {};
    this.image = image || copy.image;
    this.shadow = copy.shadow;
    this.iconSize = copy.iconSize;
    this.shadowSize = copy.shadowSize;
    this.iconAnchor = copy.iconAnchor;
    this.infoWindowAnchor = copy.infoWindowAnchor;
  }
  GIcon.prototype.toLeaflet = function () {
    var size = this.iconSize || new GSize(12, 20);
    var anchor = this.iconAnchor || new GPoint(size.width / 2, size.height);
    var info = this.infoWindowAnchor || new GPoint(anchor.x, 0);
    var o = {
      iconUrl: this.image,
      iconSize: [size.width, size.height],
      iconAnchor: [anchor.x, anchor.y],
      popupAnchor: [info.x - anchor.x, info.y - anchor.y]
    };
    if (this.shadow) {
      o.shadowUrl = this.shadow;
      var ss = this.shadowSize || size;
      o.shadowSize = [ss.width, ss.height];
      o.shadowAnchor = [anchor.x, anchor.y];
    }
    return L.icon(o);
  };
  window.GIcon = GIcon;
  window.G_DEFAULT_ICON = new GIcon(null, base + "mapfiles/marker_mini.png");
  G_DEFAULT_ICON.shadow = base + "mapfiles/marker_mini_shadow.png";
  G_DEFAULT_ICON.iconSize = new GSize(12, 20);
  G_DEFAULT_ICON.shadowSize = new GSize(22, 20);
  G_DEFAULT_ICON.iconAnchor = new GPoint(6, 20);
  G_DEFAULT_ICON.infoWindowAnchor = new GPoint(5, 1);

  // ---- overlays ----
  // A click on an overlay reaches the map as Google's does: (overlay, no point); the
  // position the map reports with it is the last one the mouse moved over.
  function overlayEvents(overlay, layer) {
    layer.on("mousemove", function (e) {
      if (overlay.map) GEvent.trigger(overlay.map, "mousemove", fromL(e.latlng));
    });
    layer.on("click", function (e) {
      var map = overlay.map;
      if (map && e.latlng) GEvent.trigger(map, "mousemove", fromL(e.latlng));
      GEvent.trigger(overlay, "click", e.latlng ? fromL(e.latlng) : null);
      if (map) GEvent.trigger(map, "click", overlay, null);
    });
  }

  // Debian's Leaflet starts a drag where the pointer has passed the click tolerance and ends
  // it without its pending frame: the marker stops short of the pointer, and the release,
  // beside the marker, reaches the map as a click. A marker's drag therefore follows the
  // pointer from the press to where the button comes up, and the click that this release
  // makes is swallowed before the page hears of it.
  var dragJustEnded = false;
  function swallowClick(e) {
    if (!dragJustEnded || !e.isTrusted) return;
    e.stopPropagation();
    e.preventDefault();
  }
  document.addEventListener("click", swallowClick, true);
  document.addEventListener("dblclick", swallowClick, true);
  document.addEventListener("mousedown", function () { dragJustEnded = false; }, true);

  function endDragOnRelease(draggable) {
    if (!draggable || draggable.endsOnRelease) return;
    draggable.endsOnRelease = true;
    var onMove = draggable._onMove, onUp = draggable._onUp;
    draggable._onMove = function (e) {
      var started = this._moved;
      onMove.call(this, e);
      if (!started && this._moved) {
        var way = this._newPos.subtract(this._startPos);
        this._startPos = this._newPos;
        this._newPos = this._startPos.add(way);
      }
    };
    draggable._onUp = function (e) {
      if (!e._simulated && this._enabled) {
        // The release is the drag's last move, drawn at once.
        var at = e.changedTouches && e.changedTouches.length ? e.changedTouches[0] : e;
        this._onMove({ clientX: at.clientX, clientY: at.clientY, target: e.target, preventDefault: function () {} });
        if (this._moving) {
          L.Util.cancelAnimFrame(this._animRequest);
          this._updatePosition();
        }
        if (this._moved) {
          // The click comes with the release, in the same task.
          dragJustEnded = true;
          setTimeout(function () { dragJustEnded = false; }, 0);
        }
      }
      return onUp.call(this, e);
    };
  }

  function GMarker(point, options) {
    options = options || {};
    this.point = point;
    this.hidden = !!options.hide;
    this.map = null;
    var icon = options.icon || G_DEFAULT_ICON;
    this.layer = L.marker(toL(point), {
      icon: icon.toLeaflet(), draggable: !!options.draggable, keyboard: false,
      bubblingMouseEvents: false
    });
    var self = this;
    overlayEvents(this, this.layer);
    this.layer.on("add", function () {
      if (self.layer.dragging) endDragOnRelease(self.layer.dragging._draggable);
    });
    this.layer.on("dragend", function () {
      self.point = fromL(self.layer.getLatLng());
      GEvent.trigger(self, "dragend", self.point);
    });
  }
  GMarker.prototype.getPoint = function () { return fromL(this.layer.getLatLng()); };
  GMarker.prototype.getLatLng = GMarker.prototype.getPoint;
  GMarker.prototype.setPoint = function (p) { this.point = p; this.layer.setLatLng(toL(p)); };
  GMarker.prototype.setLatLng = GMarker.prototype.setPoint;
  GMarker.prototype.show = function () {
    this.hidden = false;
    if (this.map && !this.map.lmap.hasLayer(this.layer)) this.layer.addTo(this.map.lmap);
  };
  GMarker.prototype.hide = function () {
    this.hidden = true;
    if (this.map) this.layer.remove();
  };
  GMarker.prototype.isHidden = function () { return this.hidden; };
  GMarker.prototype.openInfoWindowHtml = function (html) {
    if (!this.map) return;
    this.layer.unbindPopup();
    this.layer.bindPopup(String(html), { maxWidth: 320 }).openPopup();
  };
  GMarker.prototype.closeInfoWindow = function () { this.layer.closePopup(); };
  GMarker.prototype._add = function (map) {
    this.map = map;
    if (!this.hidden) this.layer.addTo(map.lmap);
  };
  GMarker.prototype._remove = function () { this.layer.remove(); this.map = null; };
  window.GMarker = GMarker;

  // Google's encoded polyline: five-bit groups, 63 added to each character.
  function decodeNumbers(text, signed) {
    var out = [], value = 0, shift = 0;
    for (var i = 0; i < text.length; i++) {
      var b = text.charCodeAt(i) - 63;
      value |= (b & 0x1f) << shift;
      shift += 5;
      if (b < 0x20) {
        out.push(signed ? ((value & 1) ? ~(value >> 1) : (value >> 1)) : value);
        value = 0;
        shift = 0;
      }
    }
    return out;
  }

  // The line Leaflet draws for a GPolyline. One with levels takes, at each zoom, the points
  // whose level counts there, from their places on the map's plane, computed once per line
  // and level: a zoom step of a long track scales numbers, and only the segments in view
  // become pixel points. Leaflet's own steps would project every point at every zoom.
  var LevelLine = L.Polyline.extend({
    _project: function () {
      if (!this.source || !this._map) {
        L.Polyline.prototype._project.call(this);
        return;
      }
      var map = this._map;
      this._set = this.source._pointsAt(map.getZoom());
      this._scale = map.options.crs.scale(map.getZoom());
      this._origin = map.getPixelOrigin();
      this._rings = [[]];
      if (this._set.count) {
        this._rawPxBounds = new L.Bounds(this._pixel(this._set.min), this._pixel(this._set.max));
        this._updateBounds();
      }
    },
    // As latLngToLayerPoint gives it: whole pixels of the zoom's plane, less the origin.
    _pixel: function (at) {
      return new L.Point(Math.round(this._scale * at[0]) - this._origin.x,
                         Math.round(this._scale * at[1]) - this._origin.y);
    },
    // Leaflet's clipping to the renderer's bounds, segment by segment, with the segments
    // wholly on one side of the bounds skipped before they become points.
    _clipPoints: function () {
      if (!this.source) {
        L.Polyline.prototype._clipPoints.call(this);
        return;
      }
      var bounds = this._renderer._bounds, parts = this._parts = [];
      if (!this._pxBounds || !this._pxBounds.intersects(bounds)) return;
      var plane = this._set.plane, n = this._set.count, scale = this._scale;
      var ox = this._origin.x, oy = this._origin.y;
      var minX = bounds.min.x, minY = bounds.min.y, maxX = bounds.max.x, maxY = bounds.max.y;
      var part = null, a = null, ax = 0, ay = 0;
      for (var i = 0; i < n; i++) {
        var bx = Math.round(scale * plane[2 * i]) - ox, by = Math.round(scale * plane[2 * i + 1]) - oy;
        if (i > 0 && !(Math.max(ax, bx) < minX || Math.min(ax, bx) > maxX ||
                       Math.max(ay, by) < minY || Math.min(ay, by) > maxY)) {
          if (!a) a = new L.Point(ax, ay);
          var b = new L.Point(bx, by);
          var segment = L.LineUtil.clipSegment(a, b, bounds, false, true);
          if (segment) {
            if (!part) parts.push(part = []);
            part.push(segment[0]);
            // The part ends where the line leaves the bounds, and at the line's end.
            if (segment[1] !== b || i === n - 1) {
              part.push(segment[1]);
              part = null;
            }
          }
          a = b;
        } else {
          a = null;
        }
        ax = bx;
        ay = by;
      }
    }
  });

  function GPolyline(points, color, weight, opacity) {
    this.points = (points || []).slice();
    this.map = null;
    this.layer = new LevelLine(this.points.map(toL), {
      color: color || "#0000ff", weight: weight || 5,
      opacity: opacity === undefined ? 0.45 : opacity, bubblingMouseEvents: false
    });
    overlayEvents(this, this.layer);
  }
  GPolyline.prototype.getVertexCount = function () {
    return this.lat ? this.lat.length : this.points.length;
  };
  GPolyline.prototype.getVertex = function (i) {
    return this.lat ? new GLatLng(this.lat[i], this.lng[i], true) : this.points[i];
  };
  // The points shown at a zoom: those whose level reaches the zoom's least level, as their
  // places on the map's plane at scale 1, gathered once for each least level.
  GPolyline.prototype._pointsAt = function (zoom) {
    var perZoom = Math.max(1, Math.log(this.zoomFactor) / Math.LN2);
    var least = Math.max(this.lowestLevel, this.numLevels - 1 - Math.floor(zoom / perZoom));
    var set = this.sets[least];
    if (set) return set;
    var levels = this.levels, n = levels.length, count = 0, i, k;
    for (i = 0; i < n; i++) if (levels[i] >= least) count++;
    var plane = new Float64Array(2 * count), crs = L.CRS.EPSG3857;
    var minX = Infinity, minY = Infinity, maxX = -Infinity, maxY = -Infinity;
    for (i = 0, k = 0; i < n; i++) {
      if (levels[i] < least) continue;
      var p = crs.transformation.transform(crs.projection.project(new L.LatLng(this.lat[i], this.lng[i])), 1);
      plane[k++] = p.x;
      plane[k++] = p.y;
      minX = Math.min(minX, p.x);
      minY = Math.min(minY, p.y);
      maxX = Math.max(maxX, p.x);
      maxY = Math.max(maxY, p.y);
    }
    return (this.sets[least] = { count: count, plane: plane, min: [minX, minY], max: [maxX, maxY] });
  };
  GPolyline.prototype._add = function (map) {
    this.map = map;
    this.layer.addTo(map.lmap);
  };
  GPolyline.prototype._remove = function () { this.layer.remove(); this.map = null; };
  GPolyline.fromEncoded = function (o) {
    var n = decodeNumbers(String(o.points || ""), true);
    var levels = decodeNumbers(String(o.levels || ""), false);
    var count = n.length >> 1, i, lat = 0, lng = 0;
    // A level string that does not match the points shows every point.
    if (levels.length !== count || !count) {
      var pts = [];
      for (i = 0; i < count; i++) {
        lat += n[2 * i];
        lng += n[2 * i + 1];
        pts.push(new GLatLng(lat * 1e-5, lng * 1e-5, true));
      }
      return new GPolyline(pts, o.color, o.weight, o.opacity);
    }
    var line = new GPolyline([], o.color, o.weight, o.opacity);
    line.numLevels = o.numLevels || 18;
    line.zoomFactor = o.zoomFactor || 2;
    line.lat = new Float64Array(count);
    line.lng = new Float64Array(count);
    line.levels = new Uint8Array(count);
    line.lowestLevel = Infinity;
    var south = Infinity, west = Infinity, north = -Infinity, east = -Infinity;
    for (i = 0; i < count; i++) {
      lat += n[2 * i];
      lng += n[2 * i + 1];
      var y = line.lat[i] = lat * 1e-5, x = line.lng[i] = lng * 1e-5;
      south = Math.min(south, y); north = Math.max(north, y);
      west = Math.min(west, x); east = Math.max(east, x);
      line.levels[i] = Math.min(levels[i], 255);
      line.lowestLevel = Math.min(line.lowestLevel, line.levels[i]);
    }
    line.sets = {};
    line.layer.source = line;
    // Leaflet reads the line's box and whether it is empty; its ends stand for its points.
    line.layer._latlngs = [L.latLng(line.lat[0], line.lng[0]), L.latLng(lat * 1e-5, lng * 1e-5)];
    line.layer._bounds = L.latLngBounds([south, west], [north, east]);
    return line;
  };
  window.GPolyline = GPolyline;

  // ---- map types and tile layers ----
  function GCopyright(id, bounds, minZoom, text) {
    this.id = id; this.bounds = bounds; this.minZoom = minZoom; this.text = text;
  }
  function GCopyrightCollection(prefix) { this.prefix = prefix || ""; this.copyrights = []; }
  GCopyrightCollection.prototype.addCopyright = function (c) { this.copyrights.push(c); };
  GCopyrightCollection.prototype.getCopyrightNotice = function () {
    return [this.prefix].concat(this.copyrights.map(function (c) { return c.text; })).join(" ");
  };
  window.GCopyright = GCopyright;
  window.GCopyrightCollection = GCopyrightCollection;

  function GTileLayer(copyrights, minZoom, maxZoom) {
    this.copyrights = copyrights;
    this.minZoom = minZoom === undefined ? 0 : minZoom;
    this.maxZoom = maxZoom === undefined ? 19 : maxZoom;
    this.template = "";
  }
  GTileLayer.prototype.getTileUrl = function (a, b) {
    return this.template.replace("{z}", b).replace("{x}", a.x).replace("{y}", a.y);
  };
  GTileLayer.prototype.isPng = function () { return true; };
  GTileLayer.prototype.getOpacity = function () { return 1.0; };
  GTileLayer.prototype.hasTiles = function () {
    return this.getTileUrl !== GTileLayer.prototype.getTileUrl || this.template !== "";
  };
  GTileLayer.prototype.toLeaflet = function () {
    var self = this;
    var Layer = L.TileLayer.extend({
      getTileUrl: function (c) { return self.getTileUrl({ x: c.x, y: c.y }, c.z); }
    });
    return new Layer("", {
      minZoom: this.minZoom, maxZoom: this.maxZoom, opacity: this.getOpacity(),
      attribution: this.copyrights ? this.copyrights.getCopyrightNotice() : ""
    });
  };
  window.GTileLayer = GTileLayer;

  function GMercatorProjection(zoomLevels) { this.zoomLevels = zoomLevels; }
  window.GMercatorProjection = GMercatorProjection;

  function GMapType(layers, projection, name, options) {
    this.layers = layers || [];
    this.projection = projection;
    this.name = name;
    // The host may give a map type its own tiles: address templates separated by blanks,
    // the lowest first. They take the place of the type's layers, keeping their copyright
    // and zoom range.
    var own = config.layers && config.layers[name];
    var first = this.layers[0];
    if (own && first) {
      this.layers = String(own).split(/\s+/).filter(Boolean).map(function (template) {
        var layer = new GTileLayer(first.copyrights, first.minZoom, first.maxZoom);
        layer.template = template;
        return layer;
      });
    }
  }
  GMapType.prototype.getName = function () { return this.name; };
  GMapType.prototype.getProjection = function () { return this.projection; };
  GMapType.prototype.getTileLayers = function () { return this.layers; };
  GMapType.prototype.hasTiles = function () {
    return this.layers.some(function (l) { return l.hasTiles(); });
  };
  GMapType.prototype.toLeaflet = function () {
    if (!this.leaflet) this.leaflet = L.layerGroup(this.layers.map(function (l) { return l.toLeaflet(); }));
    return this.leaflet;
  };
  window.GMapType = GMapType;

  function builtInType(key, name, overlayOf) {
    var entry = config[key] || {};
    var layers = [];
    [overlayOf, entry].forEach(function (e) {
      if (!e || !e.url) return;
      var layer = new GTileLayer(new GCopyrightCollection(e.attribution || ""), 0, e.maxZoom || 19);
      layer.template = String(e.url);
      layers.push(layer);
    });
    return new GMapType(layers, new GMercatorProjection(20), name);
  }
  window.G_NORMAL_MAP = builtInType("normal", "Map");
  window.G_SATELLITE_MAP = builtInType("satellite", "Satellite");
  window.G_HYBRID_MAP = builtInType("hybrid", "Hybrid", config.satellite);
  window.G_PHYSICAL_MAP = builtInType("physical", "Terrain");
  window.G_DEFAULT_MAP_TYPES = [G_NORMAL_MAP, G_SATELLITE_MAP, G_HYBRID_MAP];

  // ---- controls ----
  function GSmallMapControl() { this.make = function () { return L.control.zoom(); }; }
  function GLargeMapControl() { this.make = function () { return L.control.zoom(); }; }
  function GSmallZoomControl() { this.make = function () { return L.control.zoom(); }; }
  function GScaleControl() { this.make = function () { return L.control.scale({ position: "bottomleft" }); }; }
  function GMapTypeControl() { this.typeControl = true; }
  function GOverviewMapControl(size) {
    this.make = function (gmap) { return overviewControl(gmap, size || new GSize(150, 100)); };
  }
  window.GSmallMapControl = GSmallMapControl;
  window.GLargeMapControl = GLargeMapControl;
  window.GSmallZoomControl = GSmallZoomControl;
  window.GScaleControl = GScaleControl;
  window.GMapTypeControl = GMapTypeControl;
  window.GOverviewMapControl = GOverviewMapControl;

  // A small second map in the corner that follows the big one a few levels out.
  function overviewControl(gmap, size) {
    var Control = L.Control.extend({
      options: { position: "bottomright" },
      onAdd: function () {
        var div = L.DomUtil.create("div", "leaflet-bar");
        div.style.width = size.width + "px";
        div.style.height = size.height + "px";
        L.DomEvent.disableClickPropagation(div);
        var self = this;
        setTimeout(function () {
          var small = L.map(div, { zoomControl: false, attributionControl: false,
                                   dragging: false, scrollWheelZoom: false, doubleClickZoom: false,
                                   boxZoom: false, keyboard: false, touchZoom: false });
          var type = gmap.mapType.hasTiles() ? gmap.mapType : null;
          if (type) type.layers.forEach(function (l) { l.toLeaflet().addTo(small); });
          var follow = function () {
            small.setView(gmap.lmap.getCenter(), Math.max(0, gmap.lmap.getZoom() - 4), { animate: false });
          };
          gmap.lmap.on("moveend", follow);
          follow();
          self.small = small;
        }, 0);
        return div;
      }
    });
    return new Control();
  }

  // ---- the map ----
  function GMap2(container) {
    this.container = container;
    this.overlays = [];
    this.controls = [];
    this.mapTypes = G_DEFAULT_MAP_TYPES.slice();
    this.mapType = G_NORMAL_MAP;
    this.typeControl = null;
    this.wantTypeControl = false;
    this.lmap = L.map(container, {
      zoomControl: false, doubleClickZoom: false, scrollWheelZoom: false, keyboard: false,
      minZoom: 0, maxZoom: 19, zoomSnap: 1, worldCopyJump: false, preferCanvas: true
    });
    this.lmap.attributionControl.setPrefix(
      '<a href="https://leafletjs.com" target="_blank">Leaflet</a>');
    if (this.mapType.hasTiles()) this.mapType.toLeaflet().addTo(this.lmap);
    var self = this;
    var lmap = this.lmap;
    lmap.on("click", function (e) { GEvent.trigger(self, "click", null, fromL(e.latlng)); });
    lmap.on("mousemove", function (e) { GEvent.trigger(self, "mousemove", fromL(e.latlng)); });
    lmap.on("mouseover", function () { GEvent.trigger(self, "mouseover"); });
    lmap.on("mouseout", function () { GEvent.trigger(self, "mouseout"); });
    lmap.on("zoomend", function () { GEvent.trigger(self, "zoomend"); });
    lmap.on("moveend", function () { GEvent.trigger(self, "moveend"); });
    lmap.on("resize", function () { GEvent.trigger(self, "resize"); });
    maps.push(this);
  }
  GMap2.prototype.getContainer = function () { return this.container; };
  GMap2.prototype.addControl = function (control) {
    if (control.typeControl) {
      this.wantTypeControl = true;
      this._typeControl();
      return;
    }
    var c = control.make(this);
    c.addTo(this.lmap);
    this.controls.push(c);
  };
  GMap2.prototype.removeControl = function (control) {
    if (control.typeControl) { this.wantTypeControl = false; this._typeControl(); }
  };
  // The type control lists the map types that have tiles; it follows every change of them.
  GMap2.prototype._typeControl = function () {
    if (this.typeControl) {
      this.typeControl.remove();
      this.controls.splice(this.controls.indexOf(this.typeControl), 1);
      this.typeControl = null;
    }
    if (!this.wantTypeControl) return;
    var self = this, bases = {};
    this.mapTypes.forEach(function (t) { if (t.hasTiles()) bases[t.getName()] = t.toLeaflet(); });
    this.typeControl = L.control.layers(bases, null, { collapsed: false });
    this.typeControl.addTo(this.lmap);
    this.controls.push(this.typeControl);
    if (!this.typeListener) {
      this.typeListener = true;
      this.lmap.on("baselayerchange", function (e) {
        self.mapTypes.forEach(function (t) { if (t.leaflet === e.layer) self.mapType = t; });
      });
    }
  };
  GMap2.prototype.addMapType = function (type) {
    if (this.mapTypes.indexOf(type) < 0) this.mapTypes.push(type);
    this._typeControl();
  };
  GMap2.prototype.removeMapType = function (type) {
    var i = this.mapTypes.indexOf(type);
    if (i >= 0) this.mapTypes.splice(i, 1);
    if (this.mapType === type && this.mapTypes.length) this.setMapType(this.mapTypes[0]);
    this._typeControl();
  };
  GMap2.prototype.getMapTypes = function () { return this.mapTypes.slice(); };
  GMap2.prototype.getCurrentMapType = function () { return this.mapType; };
  GMap2.prototype.setMapType = function (type) {
    if (this.mapType.leaflet) this.mapType.leaflet.remove();
    this.mapType = type;
    if (type.hasTiles()) type.toLeaflet().addTo(this.lmap);
  };
  GMap2.prototype.enableDoubleClickZoom = function () { this.lmap.doubleClickZoom.enable(); };
  GMap2.prototype.disableDoubleClickZoom = function () { this.lmap.doubleClickZoom.disable(); };
  GMap2.prototype.enableScrollWheelZoom = function () { this.lmap.scrollWheelZoom.enable(); };
  GMap2.prototype.disableScrollWheelZoom = function () { this.lmap.scrollWheelZoom.disable(); };
  GMap2.prototype.enableContinuousZoom = function () {};
  GMap2.prototype.disableContinuousZoom = function () {};
  // The deepest level whose view holds the whole box centred on it, with a pixel to spare on
  // each side for the view's rounding to whole pixels.
  GMap2.prototype.getBoundsZoomLevel = function (bounds) {
    var lmap = this.lmap, size = lmap.getSize();
    var a = lmap.project(toL(bounds.sw), 0), b = lmap.project(toL(bounds.ne), 0);
    var scale = Math.min((size.x - 2) / Math.abs(b.x - a.x), (size.y - 2) / Math.abs(b.y - a.y));
    var zoom = Math.floor(Math.log(scale) / Math.LN2);
    if (isNaN(zoom)) zoom = 0;
    return Math.max(lmap.getMinZoom(), Math.min(lmap.getMaxZoom(), zoom));
  };
  GMap2.prototype.setCenter = function (point, zoom) {
    this.lmap.setView(toL(point), zoom === undefined ? this.lmap.getZoom() || 0 : zoom, { animate: false });
  };
  GMap2.prototype.getCenter = function () { return fromL(this.lmap.getCenter()); };
  GMap2.prototype.panTo = function (point) { this.lmap.panTo(toL(point)); };
  GMap2.prototype.setZoom = function (zoom) { this.lmap.setZoom(zoom); };
  GMap2.prototype.getZoom = function () { return this.lmap.getZoom(); };
  GMap2.prototype.zoomIn = function () { this.lmap.zoomIn(); };
  GMap2.prototype.zoomOut = function () { this.lmap.zoomOut(); };
  // The edges as shown, west below east: a view wider than the world, or across the date
  // line, reaches beyond 180 degrees. Only whole turns are taken off, to bring the centre
  // within -180 to 180 after the user has panned round the world.
  GMap2.prototype.getBounds = function () {
    var b = this.lmap.getBounds();
    var turns = 360 * Math.floor((b.getCenter().lng + 180) / 360);
    return new GLatLngBounds(new GLatLng(b.getSouth(), b.getWest() - turns, true),
                             new GLatLng(b.getNorth(), b.getEast() - turns, true));
  };
  GMap2.prototype.addOverlay = function (overlay) {
    if (!overlay || this.overlays.indexOf(overlay) >= 0) return;
    this.overlays.push(overlay);
    overlay._add(this);
  };
  GMap2.prototype.removeOverlay = function (overlay) {
    var i = this.overlays.indexOf(overlay);
    if (i < 0) return;
    this.overlays.splice(i, 1);
    overlay._remove();
  };
  GMap2.prototype.clearOverlays = function () {
    this.overlays.splice(0).forEach(function (o) { o._remove(); });
  };
  GMap2.prototype.closeInfoWindow = function () { this.lmap.closePopup(); };
  GMap2.prototype.checkResize = function () { this.lmap.invalidateSize(); };
  // Google hides the controls but keeps the copyright line.
  GMap2.prototype._showControls = function (show) {
    this.controls.forEach(function (c) {
      var div = c.getContainer && c.getContainer();
      if (div) div.style.display = show ? "" : "none";
    });
  };
  GMap2.prototype.hideControls = function () { this._showControls(false); };
  GMap2.prototype.showControls = function () { this._showControls(true); };
  window.GMap2 = GMap2;
  window.GMap = GMap2;

  window.GBrowserIsCompatible = function () { return true; };
  window.GUnload = function () {
    maps.splice(0).forEach(function (m) { m.lmap.remove(); });
  };
})();

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

  function GPolyline(points, color, weight, opacity) {
    this.points = (points || []).slice();
    this.levels = null;
    this.map = null;
    this.layer = L.polyline([], {
      color: color || "#0000ff", weight: weight || 5,
      opacity: opacity === undefined ? 0.45 : opacity, bubblingMouseEvents: false
    });
    overlayEvents(this, this.layer);
    this._redraw();
  }
  // Only the points whose level counts at the map's zoom are drawn: the document's many
  // points stay cheap when the map shows a whole country.
  GPolyline.prototype._redraw = function () {
    var pts = this.points;
    if (this.levels && this.map) {
      var z = this.map.getZoom();
      var perZoom = Math.max(1, Math.log(this.zoomFactor) / Math.LN2);
      var least = this.numLevels - 1 - Math.floor(z / perZoom);
      var levels = this.levels;
      pts = pts.filter(function (p, i) { return levels[i] >= least; });
    }
    this.layer.setLatLngs(pts.map(toL));
  };
  GPolyline.prototype.getVertexCount = function () { return this.points.length; };
  GPolyline.prototype.getVertex = function (i) { return this.points[i]; };
  GPolyline.prototype._add = function (map) {
    this.map = map;
    this._redraw();
    this.layer.addTo(map.lmap);
  };
  GPolyline.prototype._remove = function () { this.layer.remove(); this.map = null; };
  GPolyline.fromEncoded = function (o) {
    var n = decodeNumbers(String(o.points || ""), true);
    var pts = [], lat = 0, lng = 0;
    for (var i = 0; i + 1 < n.length; i += 2) {
      lat += n[i];
      lng += n[i + 1];
      pts.push(new GLatLng(lat * 1e-5, lng * 1e-5, true));
    }
    var line = new GPolyline(pts, o.color, o.weight, o.opacity);
    line.numLevels = o.numLevels || 18;
    line.zoomFactor = o.zoomFactor || 2;
    var levels = decodeNumbers(String(o.levels || ""), false);
    // A level string that does not match the points shows every point.
    line.levels = levels.length === pts.length ? levels : null;
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
      minZoom: 0, maxZoom: 19, zoomSnap: 1, worldCopyJump: false
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
    lmap.on("zoomend", function () {
      self.overlays.forEach(function (o) { if (o._redraw) o._redraw(); });
      GEvent.trigger(self, "zoomend");
    });
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

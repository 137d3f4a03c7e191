# Lists what a peer reads from a KML file (ElementTree) or from gpsbabel's GPX of it, one
# placemark, waypoint or track a line: "name: lon,lat[,ele] ..." with %g numbers.
import sys
import xml.etree.ElementTree as ET

KML = '{http://www.opengis.net/kml/2.2}'
GPX = '{http://www.topografix.com/GPX/1/0}'


def g(text):
    return '%g' % float(text)


def kml(path):
    root = ET.parse(path).getroot()
    for pm in root.iter(KML + 'Placemark'):
        name = pm.findtext(KML + 'name') or ''
        coords = pm.findtext('.//' + KML + 'coordinates') or ''
        tuples = [','.join(g(v) for v in t.split(',')) for t in coords.split()]
        print(name + ': ' + ' '.join(tuples))


def gpx(path):
    root = ET.parse(path).getroot()
    def pt(e):
        s = g(e.get('lon')) + ',' + g(e.get('lat'))
        ele = e.findtext(GPX + 'ele')
        return s + (',' + g(ele) if ele and float(ele) != 0 else '')
    for w in root.findall(GPX + 'wpt'):
        print((w.findtext(GPX + 'name') or '') + ': ' + pt(w))
    for t in root.findall(GPX + 'trk'):
        pts = [pt(p) for p in t.iter(GPX + 'trkpt')]
        print((t.findtext(GPX + 'name') or '') + ': ' + ' '.join(pts))


{'kml': kml, 'gpx': gpx}[sys.argv[1]](sys.argv[2])

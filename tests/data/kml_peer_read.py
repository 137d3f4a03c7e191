# Prints the coordinates a peer reads, one placemark or track a line ("lon,lat[,ele] ...",
# %g numbers): "kml FILE" with ElementTree, "gpx FILE" from gpsbabel's GPX 1.0 output.
import sys
import xml.etree.ElementTree as ET

KML = '{http://www.opengis.net/kml/2.2}'
GPX = '{http://www.topografix.com/GPX/1/0}'


def g(text):
    return '%g' % float(text)


def kml(path):
    for pm in ET.parse(path).getroot().iter(KML + 'Placemark'):
        coords = pm.findtext('.//' + KML + 'coordinates') or ''
        print(' '.join(','.join(g(v) for v in t.split(',')) for t in coords.split()))


def gpx(path):
    def pt(e):
        ele = e.findtext(GPX + 'ele')
        return g(e.get('lon')) + ',' + g(e.get('lat')) + (',' + g(ele) if ele and float(ele) else '')
    root = ET.parse(path).getroot()
    for w in root.findall(GPX + 'wpt'):
        print(pt(w))
    for t in root.findall(GPX + 'trk'):
        print(' '.join(pt(p) for p in t.iter(GPX + 'trkpt')))


{'kml': kml, 'gpx': gpx}[sys.argv[1]](sys.argv[2])

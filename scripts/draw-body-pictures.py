#!/usr/bin/env python3
"""Draws the three body pictures (front, back, side) as SVG and writes the point positions
that go with them (DesDotsNames.INI, DesDots.INI). Positions come from the same landmarks the
drawings use, so a point stays on its spot when a drawing is changed.

    python3 scripts/draw-body-pictures.py data [--centres]
"""
import math, sys, os

OUT = sys.argv[1] if len(sys.argv) > 1 and not sys.argv[1].startswith('--') else '.'
H = 556
SIZES = {'b': 285, 'f': 281, 's': 232}

SKIN = '#f3e2d4'
LINE = '#8a6b5a'
DETAIL = '#b9998a'

def catmull(points, closed=True, tension=0.5):
    pts = points[:]
    n = len(pts)
    if n < 3:
        return 'M' + ' L'.join('%.1f,%.1f' % p for p in pts)
    out = ['M%.1f,%.1f' % pts[0]]
    rng = range(n) if closed else range(n - 1)
    for i in rng:
        p0 = pts[(i - 1) % n] if closed or i > 0 else pts[0]
        p1 = pts[i]
        p2 = pts[(i + 1) % n]
        p3 = pts[(i + 2) % n] if closed or i + 2 < n else pts[-1]
        c1 = (p1[0] + (p2[0] - p0[0]) * tension / 3, p1[1] + (p2[1] - p0[1]) * tension / 3)
        c2 = (p2[0] - (p3[0] - p1[0]) * tension / 3, p2[1] - (p3[1] - p1[1]) * tension / 3)
        out.append('C%.1f,%.1f %.1f,%.1f %.1f,%.1f' % (c1 + c2 + p2))
    if closed:
        out.append('Z')
    return ' '.join(out)

class Seg:
    """A limb segment from p0 to p1 with half widths w0, w1; `lat` is +1 when the lateral
    side lies towards +x of the segment's normal."""
    def __init__(self, p0, p1, w0, w1, bulge=0.0):
        self.p0, self.p1, self.w0, self.w1, self.bulge = p0, p1, w0, w1, bulge
        dx, dy = p1[0] - p0[0], p1[1] - p0[1]
        L = math.hypot(dx, dy)
        self.u = (dx / L, dy / L)
        self.n = (dy / L, -dx / L)  # rotated: for a segment going down, n points to -x... fix below
        if self.n[0] < 0:
            self.n = (-self.n[0], -self.n[1])
    def width(self, t):
        return self.w0 + (self.w1 - self.w0) * t + self.bulge * math.sin(math.pi * t)
    def at(self, t, s):
        """Point at fraction t along, s in -1..1 across (+1 = towards +x side)."""
        x = self.p0[0] + (self.p1[0] - self.p0[0]) * t
        y = self.p0[1] + (self.p1[1] - self.p0[1]) * t
        w = self.width(t) * s
        return (x + self.n[0] * w, y + self.n[1] * w)

def mirror(p, cx):
    return (2 * cx - p[0], p[1])

def limb_outline(segs, steps=4):
    plus, minus = [], []
    for i, s in enumerate(segs):
        for k in range(steps + 1):
            if i > 0 and k == 0:
                continue
            t = k / steps
            plus.append(s.at(t, 1))
            minus.append(s.at(t, -1))
    return plus, minus

class Svg:
    def __init__(self, w, title):
        self.w = w
        self.title = title
        self.fills = []
        self.details = []
    def shape(self, d):
        self.fills.append(d)
    def detail(self, d, width=1.0, dash=None, fill='none', stroke=DETAIL):
        extra = ' stroke-dasharray="%s"' % dash if dash else ''
        self.details.append('<path d="%s" fill="%s" stroke="%s" stroke-width="%.1f" '
                            'stroke-linecap="round" stroke-linejoin="round"%s/>' % (d, fill, stroke, width, extra))
    def text(self):
        s = ['<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">' % (self.w, H, self.w, H),
             '<title>%s</title>' % self.title]
        # Outline first, then the fills over it: only the outer contour stays, joints vanish.
        s.append('<g fill="%s" stroke="%s" stroke-width="3" stroke-linejoin="round">' % (LINE, LINE))
        s += ['<path d="%s"/>' % d for d in self.fills]
        s.append('</g>')
        s.append('<g fill="%s" stroke="none">' % SKIN)
        s += ['<path d="%s"/>' % d for d in self.fills]
        s.append('</g>')
        s += self.details
        s.append('</svg>')
        return '\n'.join(s) + '\n'

def ellipse(cx, cy, rx, ry):
    return ('M%.1f,%.1f A%.1f,%.1f 0 1,0 %.1f,%.1f A%.1f,%.1f 0 1,0 %.1f,%.1f Z'
            % (cx - rx, cy, rx, ry, cx + rx, cy, rx, ry, cx - rx, cy))

def line(*pts):
    return 'M' + ' L'.join('%.1f,%.1f' % p for p in pts)

def curve(*pts):
    return catmull(list(pts), closed=False)

# ---------------------------------------------------------------------------------------------
# Front and back share the frame: a standing figure, arms a little away from the body, palms
# forward. `side` +1 is the half on the viewer's right.

class Frame:
    def __init__(self, width):
        self.cx = width / 2.0
        c = self.cx
        # right half of the viewer; mirrored for the left
        self.upper = Seg((c + 60, 116), (c + 79, 204), 12.5, 10)
        self.fore = Seg((c + 79, 204), (c + 95, 282), 10.5, 7, bulge=1.5)
        self.hand = Seg((c + 95, 282), (c + 103, 343), 7.5, 5, bulge=3.5)
        self.thigh = Seg((c + 27, 262), (c + 24, 408), 25, 14)
        self.leg = Seg((c + 24, 408), (c + 17, 519), 14.5, 7, bulge=3)
    def seg(self, name, side):
        s = getattr(self, name)
        if side > 0:
            return s
        c = self.cx
        return Seg(mirror(s.p0, c), mirror(s.p1, c), s.w0, s.w1, s.bulge)
    def at(self, name, side, t, lat):
        """lat +1 = lateral edge (away from the midline), -1 = medial edge."""
        s = self.seg(name, side)
        return s.at(t, lat * side)
    def x(self, dx, side):
        return self.cx + dx * side

def body_shapes(svg, f, back):
    c = f.cx
    svg.shape(ellipse(c, 43, 24, 32))                   # head
    for side in (1, -1):
        svg.shape(ellipse(f.x(24.5, side), 46, 4, 8))  # ears
    svg.shape(catmull([(c - 11, 66), (c + 11, 66), (c + 13, 96), (c - 13, 96)]))  # neck
    half = [(c + 13, 86), (c + 40, 97), (c + 59, 104), (c + 64, 122), (c + 53, 142),
            (c + 49, 172), (c + 43, 202), (c + 46, 230), (c + 52, 256), (c + 46, 282),
            (c + 22, 292)]
    torso = half + [(c, 296)] + [mirror(p, c) for p in reversed(half)] + [(c, 84)]
    svg.shape(catmull(torso))
    for side in (1, -1):
        # arm and hand
        segs = [f.seg('upper', side), f.seg('fore', side), f.seg('hand', side)]
        plus, minus = limb_outline(segs, 3)
        tip = f.seg('hand', side).at(1.05, 0)
        tip = (tip[0], tip[1] + 2)
        svg.shape(catmull(plus + [tip] + list(reversed(minus))))
        # thumb, on the lateral side below the wrist, pointing down and out
        h = f.seg('hand', side)
        base = h.at(0.12, 1.0 * side)
        t1 = (base[0] + 9 * side, base[1] + 12)
        t2 = (base[0] + 11 * side, base[1] + 28)
        svg.shape(catmull([h.at(0.02, 0.8 * side), (base[0] + 5 * side, base[1] + 2), t1, t2,
                           (t2[0] - 5 * side, t2[1] + 2), (t1[0] - 6 * side, t1[1] + 4),
                           h.at(0.35, 0.6 * side)]))
        # leg
        segs = [f.seg('thigh', side), f.seg('leg', side)]
        plus, minus = limb_outline(segs, 4)
        top = f.seg('thigh', side).at(-0.05, 0)
        svg.shape(catmull(plus + list(reversed(minus)) + [top]))
        # foot
        a = f.seg('leg', side).p1
        if back:
            foot = [(a[0] - 8 * side, a[1] - 2), (a[0] + 8 * side, a[1] - 2),
                    (a[0] + 10 * side, a[1] + 16), (a[0] + 7 * side, a[1] + 29),
                    (a[0] - 6 * side, a[1] + 29), (a[0] - 10 * side, a[1] + 16)]
        else:
            foot = [(a[0] - 8 * side, a[1] - 2), (a[0] + 8 * side, a[1] - 2),
                    (a[0] + 14 * side, a[1] + 14), (a[0] + 18 * side, a[1] + 25),
                    (a[0] + 14 * side, a[1] + 30), (a[0] - 8 * side, a[1] + 30),
                    (a[0] - 10 * side, a[1] + 14)]
        svg.shape(catmull(foot))

def front_details(svg, f):
    c = f.cx
    # face
    for side in (1, -1):
        svg.detail(curve((f.x(4, side), 33), (f.x(10, side), 31), (f.x(17, side), 33)))  # brows
        svg.detail(ellipse(f.x(10, side), 39, 4.5, 2), width=0.9)                         # eyes
        # collarbone
        svg.detail(curve((f.x(6, side), 104), (f.x(22, side), 103), (f.x(44, side), 100)), width=1.1)
        # chest and nipple
        svg.detail(curve((f.x(12, side), 160), (f.x(28, side), 163), (f.x(44, side), 154)), width=0.9)
        svg.detail(ellipse(f.x(27, side), 150, 1.8, 1.8), fill=DETAIL)
        # knee cap
        k = f.at('thigh', side, 0.98, 0)
        svg.detail(ellipse(k[0], k[1] - 2, 6, 8), width=0.9)
        # inguinal fold
        svg.detail(curve((f.x(44, side), 246), (f.x(26, side), 268), (f.x(8, side), 286)), width=0.9)
        # elbow crease and wrist crease
        svg.detail(line(f.at('fore', side, 0.02, -0.7), f.at('fore', side, 0.02, 0.7)), width=0.8)
        svg.detail(line(f.at('hand', side, 0.0, -0.8), f.at('hand', side, 0.0, 0.8)), width=0.8)
        # fingers on the palm
        for s in (-0.45, 0.05, 0.5):
            svg.detail(line(f.at('hand', side, 0.62, s), f.at('hand', side, 0.97, s)), width=0.7)
        # toes
        a = f.seg('leg', side).p1
        for dx in (0, 5, 10):
            svg.detail(line((a[0] + (dx - 2) * side, a[1] + 24), (a[0] + (dx - 2) * side, a[1] + 30)), width=0.7)
    svg.detail(line((c, 51), (c - 3, 55), (c + 2, 56)), width=0.9)                       # nose
    svg.detail(curve((c - 7, 63), (c, 64.5), (c + 7, 63)), width=1.0)                     # mouth
    svg.detail(line((c, 106), (c, 160)), width=0.8, dash='2,3')                           # sternum
    svg.detail(ellipse(c, 214, 2.2, 2.6), width=1.0)                                      # navel

def back_details(svg, f):
    c = f.cx
    svg.detail(curve((c - 14, 22), (c, 14), (c + 14, 22)), width=0.8)                     # crown
    svg.detail(line((c - 9, 70), (c + 9, 70)), width=0.8)                                 # hair line
    svg.detail(line((c, 96), (c, 262)), width=1.0, dash='2,3')                            # spine
    svg.detail(ellipse(c, 96, 2, 2), fill=DETAIL)                                         # C7
    for side in (1, -1):
        # shoulder blade
        svg.detail(catmull([(f.x(14, side), 112), (f.x(44, side), 108), (f.x(38, side), 150),
                            (f.x(22, side), 162), (f.x(15, side), 140)]), width=0.9)
        svg.detail(line((f.x(16, side), 118), (f.x(46, side), 112)), width=0.8)          # spine of scapula
        # buttock
        svg.detail(curve((f.x(2, side), 266), (f.x(14, side), 286), (f.x(38, side), 290)), width=1.0)
        # back of the knee
        svg.detail(line(f.at('thigh', side, 0.99, -0.6), f.at('thigh', side, 0.99, 0.6)), width=0.8)
        # elbow point
        e = f.at('upper', side, 0.98, -0.1)
        svg.detail(ellipse(e[0], e[1], 3, 3.5), width=0.8)
        # knuckles and fingers on the back of the hand
        for s in (-0.45, 0.05, 0.5):
            svg.detail(line(f.at('hand', side, 0.58, s), f.at('hand', side, 0.97, s)), width=0.7)
        # ankle: heel
        a = f.seg('leg', side).p1
        svg.detail(curve((a[0] - 5 * side, a[1] + 18), (a[0], a[1] + 24), (a[0] + 5 * side, a[1] + 18)), width=0.8)
    svg.detail(curve((c - 3, 262), (c, 272), (c + 3, 262)), width=0.8)

# ---------------------------------------------------------------------------------------------
# Side: the figure faces left; the left side of the body is seen. The arm hangs a little forward.

class SideFrame:
    def __init__(self):
        self.upper = Seg((121, 114), (104, 206), 12, 9.5)
        self.fore = Seg((104, 206), (92, 282), 9.5, 6.5, bulge=1.5)
        self.hand = Seg((92, 282), (88, 340), 6.5, 4.5, bulge=3)

def side_shapes(svg, s):
    # head with face profile
    head = [(118, 11), (140, 17), (151, 38), (149, 62), (136, 76), (124, 80), (110, 84),
            (98, 82), (92, 75), (93, 68), (90, 64), (92, 60), (88, 56), (85, 50), (89, 47),
            (90, 38), (93, 24), (103, 14)]
    svg.shape(catmull(head))
    svg.shape(catmull([(108, 70), (134, 70), (140, 102), (104, 104)]))                     # neck
    torso = [(104, 96), (128, 96), (142, 104), (148, 128), (147, 158), (140, 190),
             (136, 212), (142, 236), (152, 258), (150, 282), (138, 294), (110, 294),
             (98, 276), (96, 250), (92, 226), (91, 204), (94, 178), (90, 160), (86, 146),
             (88, 128), (96, 110)]
    svg.shape(catmull(torso))
    leg = [(100, 270), (148, 268), (146, 310), (138, 360), (130, 404), (133, 440),
           (131, 470), (127, 500), (128, 520), (134, 538), (132, 549), (108, 549),
           (88, 549), (72, 549), (68, 543), (76, 536), (100, 525), (110, 512),
           (107, 470), (104, 430), (100, 404), (98, 360), (96, 310)]
    svg.shape(catmull(leg))
    segs = [s.upper, s.fore, s.hand]
    plus, minus = limb_outline(segs, 3)
    tip = s.hand.at(1.06, 0)
    svg.shape(catmull(plus + [tip] + list(reversed(minus))))

def side_details(svg, s):
    svg.detail(ellipse(124, 47, 6, 9.5), width=1.1)                                       # ear
    svg.detail(ellipse(124, 48, 2.5, 4.5), width=0.8)
    svg.detail(curve((95, 35), (100, 33), (105, 35)))                                     # brow
    svg.detail(curve((96, 41), (100, 40), (103, 41.5)), width=0.9)                        # eye
    svg.detail(line((92, 67), (99, 67)), width=0.9)                                       # mouth
    svg.detail(curve((104, 38), (118, 30), (140, 34)), width=0.7, dash='2,3')             # hair line
    svg.detail(curve((108, 82), (122, 74), (134, 62)), width=0.7)                         # jaw
    # the arm seen over the chest
    plus, minus = limb_outline([s.upper, s.fore, s.hand], 3)
    tip = s.hand.at(1.06, 0)
    svg.detail(catmull(plus + [tip] + list(reversed(minus))), width=1.6, stroke=LINE, fill=SKIN)
    svg.detail(line(s.hand.at(0.55, -0.6), s.hand.at(0.97, -0.5)), width=0.7)
    svg.detail(line(s.hand.at(0.55, 0.3), s.hand.at(0.97, 0.2)), width=0.7)
    svg.detail(curve((96, 150), (92, 160), (100, 168)), width=0.8)                       # breast fold
    svg.detail(ellipse(128, 416, 3, 4), width=0.8)                                        # fibula head
    svg.detail(ellipse(119, 522, 4, 4.5), width=0.9)                                      # outer ankle
    svg.detail(curve((100, 522), (86, 540), (74, 546)), width=0.7)                        # foot arch line

# ---------------------------------------------------------------------------------------------
# Points: code -> (image, centre of the first mark, centre of the second mark), on the
# reference picture. Paired points: the first mark on the viewer's right.

def points():
    P = {}
    F = Frame(SIZES['f'])
    B = Frame(SIZES['b'])
    S = SideFrame()
    cf, cb = F.cx, B.cx

    def both(code, img, fn):
        P[code] = (img, fn(1), fn(-1))

    def mid(code, img, p):
        P[code] = (img, p, p)

    def one(code, img, p):
        P[code] = (img, p, p)

    # Arm, front view (palm forward): lateral = radial (thumb) side.
    fa = lambda name, t, lat: (lambda side: F.at(name, side, t, lat))
    ba = lambda name, t, lat: (lambda side: B.at(name, side, t, lat))
    fx = lambda dx, y: (lambda side: (F.x(dx, side), y))
    # Beside the ankle: dx outwards (negative: inwards) and dy down from the lower leg's end.
    fk = lambda dx, dy: (lambda side: (F.seg('leg', side).p1[0] + dx * side, F.seg('leg', side).p1[1] + dy))
    bx = lambda dx, y: (lambda side: (B.x(dx, side), y))

    # Lung
    both('LU1', 'f', fx(47, 118))
    both('LU2', 'f', fx(47, 108))
    both('LU5', 'f', fa('fore', 0.02, 0.45))
    both('LU6', 'f', fa('fore', 0.42, 0.6))
    both('LU7', 'f', fa('fore', 0.81, 0.85))
    both('LU9', 'f', fa('hand', 0.0, 0.75))
    both('LU10', 'f', fa('hand', 0.2, 0.75))
    both('LU11', 'f', lambda side: (F.seg('hand', side).at(0.12, side)[0] + 12 * side,
                                   F.seg('hand', side).at(0.12, side)[1] + 27))
    # Large intestine: back of the arm, radial side (lateral in the back view too)
    both('LI1', 'b', ba('hand', 0.98, 0.6))
    both('LI2', 'b', ba('hand', 0.7, 0.75))
    both('LI3', 'b', ba('hand', 0.52, 0.85))
    both('LI4', 'b', ba('hand', 0.3, 0.85))
    both('LI5', 'b', ba('hand', 0.0, 0.8))
    both('LI6', 'b', ba('fore', 0.75, 0.7))
    both('LI7', 'b', ba('fore', 0.58, 0.7))
    both('LI10', 'b', ba('fore', 0.17, 0.7))
    both('LI11', 'b', ba('fore', 0.0, 0.85))
    both('LI14', 's', lambda side: S.upper.at(0.6, 0.1))
    both('LI15', 's', lambda side: S.upper.at(0.06, -0.45))
    both('LI20', 'f', fx(6.5, 55))
    # Stomach
    both('ST1', 'f', fx(10, 43))
    both('ST2', 'f', fx(10, 47))
    both('ST3', 'f', fx(10, 54))
    both('ST4', 'f', fx(8, 63.5))
    P['ST6'] = ('s', (120, 70), (120, 70))
    P['ST7'] = ('s', (107, 51), (107, 51))
    P['ST8'] = ('s', (100, 22), (100, 22))
    both('ST9', 'f', fx(10, 86))
    both('ST12', 'f', fx(27, 104))
    both('ST18', 'f', fx(27, 165))
    both('ST21', 'f', fx(14, 185))
    both('ST25', 'f', fx(15, 214))
    both('ST28', 'f', fx(15, 238))
    both('ST29', 'f', fx(15, 246))
    both('ST30', 'f', fx(15, 256))
    both('ST31', 'f', fa('thigh', 0.14, 0.35))
    both('ST32', 'f', fa('thigh', 0.6, 0.4))
    both('ST34', 'f', fa('thigh', 0.86, 0.45))
    both('ST35', 'f', fa('leg', 0.02, 0.45))
    both('ST36', 'f', fa('leg', 0.22, 0.35))
    both('ST37', 'f', fa('leg', 0.42, 0.35))
    both('ST38', 'f', fa('leg', 0.52, 0.35))
    both('ST39', 'f', fa('leg', 0.6, 0.35))
    both('ST40', 'f', fa('leg', 0.52, 0.7))
    both('ST41', 'f', fa('leg', 1.0, 0.1))
    both('ST42', 'f', fk(2, 11))
    both('ST43', 'f', fk(3, 19))
    both('ST44', 'f', fk(3, 24))
    both('ST45', 'f', fk(3, 28))
    # Spleen: inner side of the leg
    both('SP1', 'f', fk(-6, 27))
    both('SP2', 'f', fk(-8, 22))
    both('SP3', 'f', fk(-9, 16))
    both('SP4', 'f', fk(-9, 10))
    both('SP5', 'f', fa('leg', 1.0, -0.85))
    both('SP6', 'f', fa('leg', 0.8, -0.8))
    both('SP8', 'f', fa('leg', 0.2, -0.8))
    both('SP9', 'f', fa('leg', 0.08, -0.85))
    both('SP10', 'f', fa('thigh', 0.82, -0.6))
    both('SP15', 'f', fx(30, 214))
    both('SP21', 'f', fx(48, 174))
    # Heart: inner arm, little-finger side
    both('HT1', 'f', fx(50, 142))
    both('HT3', 'f', fa('fore', 0.0, -0.9))
    both('HT4', 'f', fa('fore', 0.81, -0.85))
    both('HT5', 'f', fa('fore', 0.87, -0.85))
    both('HT6', 'f', fa('fore', 0.94, -0.85))
    both('HT7', 'f', fa('hand', 0.0, -0.8))
    both('HT8', 'f', fa('hand', 0.4, -0.45))
    both('HT9', 'f', fa('hand', 0.95, -0.55))
    # Small intestine: back of the arm, little-finger side, shoulder blade
    both('SI1', 'b', ba('hand', 0.96, -0.7))
    both('SI3', 'b', ba('hand', 0.5, -0.9))
    both('SI4', 'b', ba('hand', 0.15, -0.9))
    both('SI5', 'b', ba('hand', 0.0, -0.9))
    both('SI6', 'b', ba('fore', 0.9, -0.6))
    both('SI7', 'b', ba('fore', 0.6, -0.9))
    both('SI8', 'b', ba('fore', 0.0, -0.45))
    both('SI9', 'b', bx(47, 145))
    both('SI10', 'b', bx(47, 118))
    both('SI11', 'b', bx(31, 134))
    both('SI12', 'b', bx(31, 113))
    both('SI14', 'b', bx(19, 108))
    both('SI15', 'b', bx(13, 100))
    P['SI19'] = ('s', (117, 48), (117, 48))
    # Bladder: two lines beside the spine, the back of the leg
    both('BL1', 'f', fx(5, 39))
    both('BL2', 'f', fx(5, 33))
    both('BL10', 'b', bx(7, 74))
    vert = {}  # spine levels: C7 at 96, then about 8.2 px a vertebra down to L5
    y = 96.0
    for name in ['T1', 'T2', 'T3', 'T4', 'T5', 'T6', 'T7', 'T8', 'T9', 'T10', 'T11', 'T12',
                 'L1', 'L2', 'L3', 'L4', 'L5']:
        y += 8.6 if name.startswith('T') else 9.2
        vert[name] = y - 4  # below the spinous process
    inner = {'BL11': 'T1', 'BL12': 'T2', 'BL13': 'T3', 'BL14': 'T4', 'BL15': 'T5', 'BL16': 'T6',
             'BL17': 'T7', 'BL18': 'T9', 'BL19': 'T10', 'BL20': 'T11', 'BL21': 'T12',
             'BL22': 'L1', 'BL23': 'L2', 'BL24': 'L3', 'BL25': 'L4', 'BL26': 'L5'}
    for code, v in inner.items():
        both(code, 'b', bx(11, vert[v]))
    outer = {'BL42': 'T3', 'BL43': 'T4', 'BL44': 'T5', 'BL47': 'T9', 'BL49': 'T11', 'BL52': 'L2'}
    for code, v in outer.items():
        both(code, 'b', bx(22, vert[v]))
    sac = {'BL27': 262, 'BL28': 268, 'BL31': 258, 'BL32': 264, 'BL33': 270, 'BL34': 276}
    for code, yy in sac.items():
        both(code, 'b', bx(11 if code in ('BL27', 'BL28') else 6, yy))
    both('BL36', 'b', ba('thigh', 0.2, -0.05))
    both('BL37', 'b', ba('thigh', 0.55, -0.05))
    both('BL39', 'b', ba('thigh', 0.99, 0.55))
    both('BL40', 'b', ba('thigh', 0.99, 0.0))
    both('BL57', 'b', ba('leg', 0.45, 0.0))
    both('BL58', 'b', ba('leg', 0.52, 0.45))
    both('BL59', 'b', ba('leg', 0.8, 0.55))
    P['BL60'] = ('s', (125, 521), (125, 521))
    P['BL62'] = ('s', (119, 531), (119, 531))
    P['BL64'] = ('s', (102, 543), (102, 543))
    P['BL65'] = ('s', (86, 545), (86, 545))
    P['BL67'] = ('s', (71, 545), (71, 545))
    # Kidney: inner ankle, inner leg, belly and chest beside the midline
    both('KI3', 'f', fk(-10, 2))
    both('KI4', 'f', fk(-11.5, 6))
    both('KI6', 'f', fk(-8, 9))
    both('KI7', 'f', fa('leg', 0.87, -0.95))
    both('KI9', 'f', fa('leg', 0.55, -1.0))
    both('KI10', 'f', fa('thigh', 0.99, -0.9))
    both('KI16', 'f', fx(4, 214))
    both('KI21', 'f', fx(4, 166))
    both('KI27', 'f', fx(13, 106))
    # Pericardium: middle of the inner arm
    both('PC1', 'f', fx(33, 150))
    both('PC3', 'f', fa('fore', 0.02, -0.3))
    both('PC4', 'f', fa('fore', 0.6, -0.05))
    both('PC5', 'f', fa('fore', 0.81, -0.05))
    both('PC6', 'f', fa('fore', 0.87, -0.05))
    both('PC7', 'f', fa('hand', 0.0, -0.05))
    both('PC8', 'f', fa('hand', 0.38, 0.05))
    both('PC9', 'f', fa('hand', 1.02, 0.05))
    # Triple heater (SJ): middle of the back of the arm, shoulder, around the ear
    both('SJ1', 'b', ba('hand', 0.96, -0.3))
    both('SJ2', 'b', ba('hand', 0.66, -0.3))
    both('SJ3', 'b', ba('hand', 0.45, -0.35))
    both('SJ4', 'b', ba('hand', 0.0, -0.05))
    both('SJ5', 'b', ba('fore', 0.83, -0.05))
    both('SJ6', 'b', ba('fore', 0.75, -0.05))
    both('SJ10', 'b', ba('upper', 0.9, -0.1))
    both('SJ14', 's', lambda side: S.upper.at(0.04, 0.75))
    both('SJ15', 'b', bx(36, 106))
    P['SJ17'] = ('s', (131, 60), (131, 60))
    P['SJ21'] = ('s', (117, 42), (117, 42))
    both('SJ23', 'f', fx(18, 33))
    # Gall bladder: side of the head and body, outer leg
    both('GB1', 'f', fx(16, 40))
    P['GB2'] = ('s', (117, 54), (117, 54))
    P['GB8'] = ('s', (126, 29), (126, 29))
    P['GB12'] = ('s', (134, 56), (134, 56))
    both('GB14', 'f', fx(10, 25))
    both('GB20', 'b', bx(12, 66))
    both('GB21', 'b', bx(30, 100))
    both('GB24', 'f', fx(27, 176))
    P['GB25'] = ('s', (137, 198), (137, 198))
    P['GB26'] = ('s', (126, 218), (126, 218))
    P['GB30'] = ('s', (140, 270), (140, 270))
    P['GB31'] = ('s', (125, 328), (125, 328))
    P['GB34'] = ('s', (121, 424), (121, 424))
    P['GB35'] = ('s', (123, 480), (123, 480))
    P['GB37'] = ('s', (118, 488), (118, 488))
    P['GB39'] = ('s', (119, 500), (119, 500))
    P['GB40'] = ('s', (112, 526), (112, 526))
    P['GB41'] = ('s', (96, 535), (96, 535))
    both('GB44', 'f', fk(11, 28))
    # Liver: big toe, top of the foot, inner leg, ribs
    both('LV1', 'f', fk(-3, 27))
    both('LV2', 'f', fk(-1, 23))
    both('LV3', 'f', fk(-1, 17))
    both('LV4', 'f', fk(-6, 4))
    both('LV5', 'f', fa('leg', 0.68, -0.45))
    both('LV8', 'f', fa('thigh', 0.99, -0.75))
    both('LV13', 'f', fx(41, 196))
    both('LV14', 'f', fx(27, 168))
    # Governing vessel (DU): the midline of the back and head
    mid('DU1', 'b', (cb, 278))
    mid('DU2', 'b', (cb, 270))
    mid('DU3', 'b', (cb, vert['L4']))
    mid('DU4', 'b', (cb, vert['L2']))
    mid('DU6', 'b', (cb, vert['T11']))
    mid('DU9', 'b', (cb, vert['T7']))
    mid('DU10', 'b', (cb, vert['T6']))
    mid('DU11', 'b', (cb, vert['T5']))
    mid('DU12', 'b', (cb, vert['T3']))
    mid('DU13', 'b', (cb, vert['T1']))
    mid('DU14', 'b', (cb, 92))
    mid('DU15', 'b', (cb, 70))
    mid('DU16', 'b', (cb, 64))
    one('DU20', 's', (119, 13))
    mid('DU23', 'f', (cf, 19))
    mid('DU24', 'f', (cf, 15))
    mid('DU26', 'f', (cf, 59))
    # Conception vessel (RN): the midline of the front
    mid('RN2', 'f', (cf, 256))
    mid('RN3', 'f', (cf, 248))
    mid('RN4', 'f', (cf, 240))
    mid('RN5', 'f', (cf, 231))
    mid('RN6', 'f', (cf, 226))
    mid('RN8', 'f', (cf, 214))
    mid('RN9', 'f', (cf, 206))
    mid('RN10', 'f', (cf, 198))
    mid('RN12', 'f', (cf, 186))
    mid('RN13', 'f', (cf, 177))
    mid('RN14', 'f', (cf, 170))
    mid('RN15', 'f', (cf, 163))
    mid('RN17', 'f', (cf, 146))
    mid('RN22', 'f', (cf, 98))
    mid('RN23', 'f', (cf, 80))
    mid('RN24', 'f', (cf, 68))
    return P

MERIDIAN_COLOURS = {  # RGB: the meridian's element
    'LU': (90, 96, 120), 'LI': (90, 96, 120),
    'ST': (176, 112, 0), 'SP': (176, 112, 0),
    'HT': (200, 0, 0), 'SI': (200, 0, 0), 'PC': (200, 0, 0), 'SJ': (200, 0, 0), 'TH': (200, 0, 0),
    'BL': (0, 60, 200), 'KI': (0, 60, 200),
    'GB': (0, 128, 0), 'LV': (0, 128, 0),
    'DU': (128, 0, 128), 'RN': (128, 0, 128), 'GV': (128, 0, 128), 'CV': (128, 0, 128),
}
ALIASES = {'SJ': 'TH', 'DU': 'GV', 'RN': 'CV'}
SOURCE = ['LU9', 'LI4', 'ST42', 'SP3', 'HT7', 'SI4', 'BL64', 'KI3', 'PC7', 'SJ4', 'GB40',
          'LV3', 'DU14', 'RN12']

def colour_value(rgb):
    r, g, b = rgb
    return b << 16 | g << 8 | r

def letters(code):
    return ''.join(ch for ch in code if ch.isalpha())

def crlf(lines):
    return ('\r\n'.join(lines) + '\r\n').encode('cp1251')

def write_points(P):
    # The file keeps the dot's place as the program reads it: the dot's top-left corner is put
    # at (value - 3) scaled, and the dot is 8 wide, so value = centre - 1.
    def order(code):
        return (list(MERIDIAN_COLOURS).index(letters(code)), int(code[len(letters(code)):]))
    lines = ['; Where each point lies on the body pictures (pictures/body_back.svg, body_front.svg,',
             '; body_side.svg; 285, 281 and 232 x 556). One section per point code: image b, f or s,',
             '; the two marks (left and right side of the body; the same spot for points on the',
             '; midline and on the side view), Color = 0xBBGGRR colour of the dots.',
             '; TH, GV and CV are the same points as SJ, DU and RN.', '']
    codes = sorted(P, key=order)
    for alias_of in (False, True):
        for code in codes:
            L = letters(code)
            if alias_of:
                if L not in ALIASES:
                    continue
                name = ALIASES[L] + code[len(L):]
            else:
                name = code
            img, p1, p2 = P[code]
            lines.append('[%s]' % name)
            lines.append('image=%s' % img)
            lines.append('left1=%d' % round(p1[0] - 1))
            lines.append('top1=%d' % round(p1[1] - 1))
            lines.append('left2=%d' % round(p2[0] - 1))
            lines.append('top2=%d' % round(p2[1] - 1))
            lines.append('Color=%d' % colour_value(MERIDIAN_COLOURS[L]))
            lines.append('')
    open(os.path.join(OUT, 'DesDotsNames.INI'), 'wb').write(crlf(lines))

def write_desdots(P):
    # One entry per meridian or vessel code; its marks show the meridian's source point (the
    # points of the vessels: DU14, RN12). The disease page marks a listed point at its own
    # place when the point file knows it.
    names = ['LU', 'LI', 'ST', 'SP', 'HT', 'SI', 'BL', 'KI', 'PC', 'SJ', 'TH', 'GB', 'LV',
             'DU', 'GV', 'RN', 'CV']
    back = {'TH': 'SJ', 'GV': 'DU', 'CV': 'RN'}
    lines = ['; Point codes a disease may list: the letters of a meridian or vessel. Each entry',
             '; marks the meridian on its body picture (its source point); a point that',
             '; DesDotsNames.INI knows is marked at its own place. name is compared exactly.',
             '; Color (0xBBGGRR) fills the marks and, since key names ignore letter case,',
             '; also colours the point labels.',
             '', '[Count]', 'value=%d' % len(names), '']
    for k, name in enumerate(names):
        base = back.get(name, name)
        code = next(c for c in SOURCE if letters(c) == base)
        img, p1, p2 = P[code]
        rgb = MERIDIAN_COLOURS[name]
        lines += ['[%d]' % k, 'name=%s' % name, 'image=%s' % img,
                  'left1=%d' % round(p1[0] - 1), 'top1=%d' % round(p1[1] - 1),
                  'left2=%d' % round(p2[0] - 1), 'top2=%d' % round(p2[1] - 1),
                  'Color=%d' % colour_value(rgb), '']
    open(os.path.join(OUT, 'DesDots.INI'), 'wb').write(crlf(lines))

def main():
    f = Svg(SIZES['f'], 'Body, front view'); F = Frame(SIZES['f']); body_shapes(f, F, back=False); front_details(f, F)
    b = Svg(SIZES['b'], 'Body, back view'); B = Frame(SIZES['b']); body_shapes(b, B, back=True); back_details(b, B)
    s = Svg(SIZES['s'], 'Body, left side view'); S = SideFrame(); side_shapes(s, S); side_details(s, S)
    os.makedirs(os.path.join(OUT, 'pictures'), exist_ok=True)
    for name, svg in (('front', f), ('back', b), ('side', s)):
        open(os.path.join(OUT, 'pictures', 'body_%s.svg' % name), 'w').write(svg.text())
    P = points()
    write_points(P)
    write_desdots(P)
    if '--centres' in sys.argv:
        # mark centres, for checking the positions on a rendering of the pictures
        with open(os.path.join(OUT, 'centres.txt'), 'w') as out:
            for code, (img, p1, p2) in P.items():
                out.write('%s %s %.1f %.1f %.1f %.1f\n' % (code, img, p1[0], p1[1], p2[0], p2[1]))

main()

#include "quoteserver/chart/chart_script.h"

namespace lark::quoteserver {

const char *const kChartScript = R"JS(
(function () {
  'use strict';
  var NS = 'http://www.w3.org/2000/svg';
  var W = 640, H = 360, LEFT = 58, RIGHT = 58, TOP = 14, PRICE_H = 220, GAP = 22, VOL_H = 76;
  var PLOT_W = W - LEFT - RIGHT, UP = '#fc144f', DOWN = '#0cef50', FLAT = '#cccccc';
  var TIMES = [[0, '09:30'], [60, '10:30'], [120, '11:30/13:00'], [180, '14:00'], [240, '15:00']];
  var draws = 0;

  window.addEventListener('error', function (e) {
    document.body.dataset.state = 'error: ' + e.message;
  });

  function node(name, attrs, text) {
    var e = document.createElementNS(NS, name);
    Object.keys(attrs).forEach(function (k) { e.setAttribute(k, attrs[k]); });
    if (text !== undefined) e.textContent = text;
    return e;
  }
  function x(minute) { return LEFT + PLOT_W * Math.min(Math.max(minute, 0), 240) / 240; }
  function colourOf(value, base) {
    return value > base + 1e-9 ? UP : value < base - 1e-9 ? DOWN : FLAT;
  }
  function setText(id, text, colour) {
    var e = document.getElementById(id);
    if (!e) return;
    e.textContent = text;
    if (colour) e.style.color = colour;
  }

  function draw(f) {
    var svg = document.getElementById('chart');
    while (svg.firstChild) svg.removeChild(svg.firstChild);
    var base = f.previousClose > 0 ? f.previousClose : f.last;
    var span = Math.max(Math.abs(f.last - base), base * 0.01, 0.01);
    f.path.forEach(function (p) { span = Math.max(span, Math.abs(p[1] - base)); });
    var high = base + span * 1.1, low = base - span * 1.1;
    function y(price) { return TOP + PRICE_H * (high - price) / (high - low); }

    svg.appendChild(node('rect', {x: 0, y: 0, width: W, height: H, fill: '#000000'}));
    for (var i = 0; i <= 4; ++i) {
      var price = high - (high - low) * i / 4, at = y(price), colour = colourOf(price, base);
      svg.appendChild(node('line', {x1: LEFT, y1: at, x2: W - RIGHT, y2: at, stroke: '#333333'}));
      svg.appendChild(node('text', {x: LEFT - 4, y: at + 4, fill: colour, 'text-anchor': 'end',
                                    'font-size': 11}, price.toFixed(f.decimals)));
      svg.appendChild(node('text', {x: W - RIGHT + 4, y: at + 4, fill: colour, 'font-size': 11},
                           ((price - base) / base * 100).toFixed(2) + '%'));
    }
    TIMES.forEach(function (t) {
      svg.appendChild(node('line', {x1: x(t[0]), y1: TOP, x2: x(t[0]), y2: TOP + PRICE_H + GAP + VOL_H,
                                    stroke: '#333333'}));
      svg.appendChild(node('text', {x: x(t[0]), y: H - 6, fill: FLAT, 'text-anchor': 'middle',
                                    'font-size': 11}, t[1]));
    });
    svg.appendChild(node('line', {id: 'previous-close', x1: LEFT, y1: y(base), x2: W - RIGHT,
                                  y2: y(base), stroke: FLAT, 'stroke-dasharray': '4 3'}));

    var bottom = TOP + PRICE_H + GAP + VOL_H, width = Math.max(1, PLOT_W / 240 - 0.4), most = 0;
    // A bar is the volume since the point before; a path that starts after the open has no
    // bar for its first point, whose volume is the whole morning's.
    var volumes = f.path.map(function (p, k) {
      if (p[2] < 0 || (k && f.path[k - 1][2] < 0)) return 0;
      var v = k ? Math.max(0, p[2] - f.path[k - 1][2]) : (p[0] < 1 ? p[2] : 0);
      most = Math.max(most, v);
      return v;
    });
    volumes.forEach(function (v, k) {
      if (!most) return;
      var h = VOL_H * v / most, p = f.path[k];
      svg.appendChild(node('rect', {'class': 'volume', x: x(p[0]) - width / 2, y: bottom - h,
                                    width: width, height: h,
                                    fill: colourOf(p[1], k ? f.path[k - 1][1] : base)}));
    });
    svg.appendChild(node('polyline', {id: 'price-line', fill: 'none', stroke: '#ffff00',
                                      'stroke-width': 1.5, points: f.path.map(function (p) {
                                        return x(p[0]).toFixed(1) + ',' + y(p[1]).toFixed(1);
                                      }).join(' ')}));
    if (f.path.length) {
      var end = f.path[f.path.length - 1];
      svg.appendChild(node('circle', {id: 'last-point', cx: x(end[0]), cy: y(end[1]), r: 3,
                                      fill: '#ffff00'}));
    }

    var colour = colourOf(f.last, base);
    setText('last', f.last.toFixed(f.decimals), colour);
    setText('change', base > 0 ? ((f.last - base) / base * 100).toFixed(2) + '%' : '-', colour);
    setText('open', f.open.toFixed(f.decimals));
    setText('high', f.high.toFixed(f.decimals));
    setText('low', f.low.toFixed(f.decimals));
    // An index's volume and amount are beyond what the quote carries.
    setText('volume', f.volume === null ? '-' : String(Math.floor(f.volume / 100)));
    setText('amount', f.amount === null ? '-' : (f.amount / 10000).toFixed(0));
    document.body.dataset.draws = String(++draws);
    document.body.dataset.state = 'drawn';
  }

  function refresh() {
    fetch(document.body.dataset.source, {cache: 'no-store'})
      .then(function (r) { return r.ok ? r.json() : null; })
      .then(function (f) { if (f) draw(f); })
      .catch(function () { /* the next refresh tries again */ });
  }

  draw(JSON.parse(document.getElementById('figures').textContent));
  setInterval(refresh, 10000);
})();
)JS";

} // namespace lark::quoteserver

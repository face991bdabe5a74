#pragma once

namespace lark::quoteserver {

// The chart page's script: draws the figures of <script id="figures"> into <svg id="chart">
// (price line, previous close, volume bars, the session's time axis, price and percentage
// scales), then fetches them again from the data URL every 10 s. The body's data-state says
// "drawn" or the error; data-draws counts the drawings.
extern const char *const kChartScript;

} // namespace lark::quoteserver

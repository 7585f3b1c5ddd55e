.pragma library

// What each trace mode makes of a new sweep, given what the trace showed so far. Holds and the
// average start again from the sweep when there is nothing to build on (a fresh start, or a sweep of
// another length after the number of points changed).
var modes = ["Clear Write", "Max Hold", "Min Hold", "Average", "Blank"]

function next(mode, shown, sweep, averageCount) {
    if (mode === "Blank")
        return []
    if (mode === "Clear Write" || !shown || shown.length !== sweep.length)
        return sweep.slice()
    var result = new Array(sweep.length)
    var i
    if (mode === "Max Hold") {
        for (i = 0; i < sweep.length; ++i)
            result[i] = Math.max(shown[i], sweep[i])
    } else if (mode === "Min Hold") {
        for (i = 0; i < sweep.length; ++i)
            result[i] = Math.min(shown[i], sweep[i])
    } else {
        // Exponential average over averageCount sweeps, in dB as the instrument's video average does.
        var weight = 1 / Math.max(1, averageCount)
        for (i = 0; i < sweep.length; ++i)
            result[i] = shown[i] + (sweep[i] - shown[i]) * weight
    }
    return result
}

// Index of the highest level, -1 for an empty trace.
function peakIndex(levels) {
    var best = -1
    for (var i = 0; i < levels.length; ++i) {
        if (best < 0 || levels[i] > levels[best])
            best = i
    }
    return best
}

// The trace mode names the screenshot's annotation band knows ("ClearWrite", "Max", "Min").
function bandName(mode) {
    return { "Clear Write": "ClearWrite", "Max Hold": "Max", "Min Hold": "Min" }[mode] || mode
}

// A frequency in Hz as the analyser's labels show it: MHz with as many decimals as the step needs.
function megahertz(hz, stepHz) {
    var decimals = stepHz >= 1e6 ? 1 : stepHz >= 1e3 ? 3 : 6
    return (hz / 1e6).toFixed(decimals)
}

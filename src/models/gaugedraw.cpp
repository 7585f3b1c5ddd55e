#include "gaugedraw.h"

#include "hbaselogging.h"

#include <QDebug>
#include <QLoggingCategory>

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>

namespace {

// 11pi/8 and 13pi/8: the scale spans 45 degrees centred on straight up (3pi/2).
constexpr double kStartAngle = 4.319689898685965;
constexpr double kEndAngle = 5.105088062083414;
// kEndAngle - kStartAngle as the double subtraction gives it, one ulp above the double nearest pi/4,
// so that startAngle + wholeAngle lands exactly on endAngle.
constexpr double kWholeAngle = 0.7853981633974492;
constexpr double kRefLineThickness = 0.003;
// 1 / sin(pi/8): the 45 degree chord then spans the canvas width.
constexpr double kCenterYPerHalfWidth = 2.613125929752753;
// The arc sits a 24th of the width below the top of the canvas.
constexpr double kRadiusInsetPerWidth = 0.041666666666666664;
// A bar shorter than this (radians) is not worth drawing.
constexpr double kMinBarAngle = 0.004;

const char kCurrentRatioDivision[] = "GaugeDraw::updateCurrentValueRatio: Division by zero! m_range == 0";
const char kRefRatioDivision[] = "GaugeDraw::updateRefValueRatio: Division by zero! m_range == 0";
const char kZeroRatioDivision[] = "GaugeDraw::updateZeroValueRatio: Division by zero! m_range == 0";
const char kUpperLimitDivision[] = "GaugeDraw::calculateStartAngleUpperLimit: Division by zero! m_range == 0";
const char kLowerLimitDivision[] = "GaugeDraw::calculateEndAngleLowerLimit: Division by zero! m_range == 0";
const char kRangeFailed[] = "GaugeDraw::recalculateRange Failed! Error:";
const char kCurrentRatioFailed[] = "GaugeDraw::recalculateCurrentValueRatio Failed! Error:";
const char kRefRatioFailed[] = "GaugeDraw::recalculateRefValueRatio Failed! Error:";

double clampedRatio(double ratio)
{
    if (ratio > 1)
        return 1;
    if (ratio < 0)
        return 0;
    return ratio;
}
}

static_assert(kEndAngle - kStartAngle == kWholeAngle, "the scale's angles must agree");

GaugeDraw::GaugeDraw(QObject *parent)
    : QObject(parent)
    , m_startAngle(kStartAngle)
    , m_endAngle(kEndAngle)
    , m_wholeAngle(kWholeAngle)
    , m_refLineThickness(kRefLineThickness)
{
}

void GaugeDraw::updatateCenterAndRadius(double canvasWidth)
{
    const double centerx = canvasWidth * 0.5;
    const double centery = centerx * kCenterYPerHalfWidth;
    setOutput(m_centerx, centerx, &GaugeDraw::centerxChanged);
    setOutput(m_centery, centery, &GaugeDraw::centeryChanged);
    setOutput(m_radius, centery - canvasWidth * kRadiusInsetPerWidth, &GaugeDraw::radiusChanged);
}

void GaugeDraw::recalculateRange(double gaugeRefVal, double gaugeCurrentValue, double gaugeMaxReadingVal,
                                 double gaugeMinReadingVal, bool gaugeDrawBarFromZero)
{
    runGuarded(kRangeFailed, [&] {
        updateRange(gaugeMaxReadingVal, gaugeMinReadingVal);
        updateCurrentValueRatio(gaugeCurrentValue, gaugeMinReadingVal);
        updateRefValueRatio(gaugeRefVal, gaugeMinReadingVal);
        updateValueAngleRad();
        updateRefValueAngleRad();
        updateZeroValueRatio(gaugeDrawBarFromZero, gaugeMinReadingVal);
        updateZeroValueAngleRad();
    });
}

void GaugeDraw::recalculateCurrentValueRatio(double gaugeCurrentValue, double gaugeMinReadingVal)
{
    runGuarded(kCurrentRatioFailed, [&] {
        updateCurrentValueRatio(gaugeCurrentValue, gaugeMinReadingVal);
        updateValueAngleRad();
    });
}

void GaugeDraw::recalculateRefValueRatio(double gaugeRefVal, double gaugeMinReadingVal)
{
    runGuarded(kRefRatioFailed, [&] {
        updateRefValueRatio(gaugeRefVal, gaugeMinReadingVal);
        updateRefValueAngleRad();
    });
}

double GaugeDraw::calculateStartAngleByRefVal()
{
    const double start = m_refValueAngleRad - m_refLineThickness;
    return start >= m_startAngle ? start : m_startAngle;
}

double GaugeDraw::calculateEndAngleByRefVal()
{
    const double end = m_refValueAngleRad + m_refLineThickness;
    return end <= m_endAngle ? end : m_endAngle;
}

// The zone divides by the range of the last recalculateRange, not by maxValue - minValue: the screens
// pass the same span they gave there.
double GaugeDraw::calculateStartAngleUpperLimit(double upperLimitVal, double minValue, double maxValue)
{
    if (upperLimitVal < minValue)
        return m_startAngle;
    if (upperLimitVal >= maxValue)
        return m_endAngle;
    if (rangeRefusesDivision()) {
        qCWarning(lcModels).noquote() << kUpperLimitDivision;
        return m_endAngle;
    }
    return m_startAngle + (upperLimitVal - minValue) / m_range * m_wholeAngle;
}

double GaugeDraw::calculateEndAngleLowerLimit(double lowerLimitVal, double minValue, double maxValue)
{
    if (lowerLimitVal > maxValue)
        return m_endAngle;
    if (lowerLimitVal <= minValue)
        return m_startAngle;
    if (rangeRefusesDivision()) {
        qCWarning(lcModels).noquote() << kLowerLimitDivision;
        return m_startAngle;
    }
    return m_startAngle + (lowerLimitVal - minValue) / m_range * m_wholeAngle;
}

bool GaugeDraw::shouldDrawValueAngleRad()
{
    return std::abs(m_valueAngleRad - m_zeroValueAngleRad) > kMinBarAngle;
}

double GaugeDraw::getStartAngleValue()
{
    return std::min(m_valueAngleRad, m_zeroValueAngleRad);
}

double GaugeDraw::getEndAngleValue()
{
    return std::max(m_valueAngleRad, m_zeroValueAngleRad);
}

bool GaugeDraw::rangeRefusesDivision() const
{
    return std::abs(m_range) <= std::numeric_limits<double>::epsilon();
}

void GaugeDraw::updateRange(double max, double min)
{
    setOutput(m_range, max - min, &GaugeDraw::rangeChanged);
}

void GaugeDraw::updateCurrentValueRatio(double current, double min)
{
    if (rangeRefusesDivision())
        throw DivisionByZero{kCurrentRatioDivision};
    setOutput(m_currentValueRatio, clampedRatio((current - min) / m_range), &GaugeDraw::currentValueRatioChanged);
}

void GaugeDraw::updateRefValueRatio(double ref, double min)
{
    if (rangeRefusesDivision())
        throw DivisionByZero{kRefRatioDivision};
    setOutput(m_refValueRatio, clampedRatio((ref - min) / m_range), &GaugeDraw::refValueRatioChanged);
}

void GaugeDraw::updateValueAngleRad()
{
    setOutput(m_valueAngleRad, m_startAngle + m_currentValueRatio * m_wholeAngle, &GaugeDraw::valueAngleRadChanged);
}

void GaugeDraw::updateRefValueAngleRad()
{
    setOutput(m_refValueAngleRad, m_startAngle + m_refValueRatio * m_wholeAngle, &GaugeDraw::refValueAngleRadChanged);
}

void GaugeDraw::updateZeroValueRatio(bool drawBarFromZero, double min)
{
    if (rangeRefusesDivision())
        throw DivisionByZero{kZeroRatioDivision};
    setOutput(m_zeroValueRatio, drawBarFromZero ? clampedRatio((0 - min) / m_range) : 0,
              &GaugeDraw::zeroValueRatioChanged);
}

void GaugeDraw::updateZeroValueAngleRad()
{
    setOutput(m_zeroValueAngleRad, m_startAngle + m_zeroValueRatio * m_wholeAngle,
              &GaugeDraw::zeroValueAngleRadChanged);
}

// Each output announces itself when it changes, so bindings follow as well as the reads after a call.
void GaugeDraw::setOutput(double &field, double value, void (GaugeDraw::*changed)())
{
    if (field == value || (std::isnan(field) && std::isnan(value)))
        return;
    field = value;
    emit(this->*changed)();
}

// A failed step stops the steps after it; fields already updated keep their new values. Nothing is
// thrown out of an entry point: QML would have no way to handle it.
template<typename Steps>
void GaugeDraw::runGuarded(const char *failedText, Steps steps)
{
    try {
        steps();
    } catch (const DivisionByZero &failure) {
        qCWarning(lcModels).noquote() << failure.message;
    } catch (const std::exception &error) {
        qCWarning(lcModels).noquote() << failedText << error.what();
    }
}

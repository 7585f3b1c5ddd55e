#ifndef GAUGEDRAW_H
#define GAUGEDRAW_H

#include <QObject>

// Geometry of the arc gauge that QML paints on a canvas: centre and radius for a canvas width, and
// the angles (radians, clockwise from +x, y down) of the value bar, reference line, zero point and
// limit zones. The scale is a fixed 45 degree arc centred on straight up. Screens read the properties
// again after each call; the computed ones also announce their changes, for bindings.
class GaugeDraw : public QObject
{
    Q_OBJECT
    Q_PROPERTY(double range READ getRange NOTIFY rangeChanged)
    Q_PROPERTY(double startAngle READ getStartAngle CONSTANT)
    Q_PROPERTY(double endAngle READ getEndAngle CONSTANT)
    Q_PROPERTY(double wholeAngle READ getWholeAngle CONSTANT)
    Q_PROPERTY(double refLineThickness READ getRefLineThickness CONSTANT)
    Q_PROPERTY(double centerx READ getCenterx NOTIFY centerxChanged)
    Q_PROPERTY(double radius READ getRadius NOTIFY radiusChanged)
    Q_PROPERTY(double centery READ getCentery NOTIFY centeryChanged)
    Q_PROPERTY(double currentValueRatio READ getCurrentValueRatio NOTIFY currentValueRatioChanged)
    Q_PROPERTY(double refValueRatio READ getRefValueRatio NOTIFY refValueRatioChanged)
    Q_PROPERTY(double valueAngleRad READ getValueAngleRad NOTIFY valueAngleRadChanged)
    Q_PROPERTY(double refValueAngleRad READ getRefValueAngleRad NOTIFY refValueAngleRadChanged)
    Q_PROPERTY(double zeroValueRatio READ getZeroValueRatio NOTIFY zeroValueRatioChanged)
    Q_PROPERTY(double zeroValueAngleRad READ getZeroValueAngleRad NOTIFY zeroValueAngleRadChanged)

public:
    explicit GaugeDraw(QObject *parent = nullptr);

    double getRange() const { return m_range; }
    double getStartAngle() const { return m_startAngle; }
    double getEndAngle() const { return m_endAngle; }
    double getWholeAngle() const { return m_wholeAngle; }
    double getRefLineThickness() const { return m_refLineThickness; }
    double getCenterx() const { return m_centerx; }
    double getRadius() const { return m_radius; }
    double getCentery() const { return m_centery; }
    double getCurrentValueRatio() const { return m_currentValueRatio; }
    double getRefValueRatio() const { return m_refValueRatio; }
    double getValueAngleRad() const { return m_valueAngleRad; }
    double getRefValueAngleRad() const { return m_refValueAngleRad; }
    double getZeroValueRatio() const { return m_zeroValueRatio; }
    double getZeroValueAngleRad() const { return m_zeroValueAngleRad; }

    Q_INVOKABLE void updatateCenterAndRadius(double canvasWidth);
    Q_INVOKABLE void recalculateRange(double gaugeRefVal, double gaugeCurrentValue, double gaugeMaxReadingVal,
                                      double gaugeMinReadingVal, bool gaugeDrawBarFromZero);
    Q_INVOKABLE void recalculateCurrentValueRatio(double gaugeCurrentValue, double gaugeMinReadingVal);
    Q_INVOKABLE void recalculateRefValueRatio(double gaugeRefVal, double gaugeMinReadingVal);
    Q_INVOKABLE double calculateStartAngleByRefVal();
    Q_INVOKABLE double calculateEndAngleByRefVal();
    Q_INVOKABLE double calculateStartAngleUpperLimit(double upperLimitVal, double minValue, double maxValue);
    Q_INVOKABLE double calculateEndAngleLowerLimit(double lowerLimitVal, double minValue, double maxValue);
    Q_INVOKABLE bool shouldDrawValueAngleRad();
    Q_INVOKABLE double getStartAngleValue();
    Q_INVOKABLE double getEndAngleValue();

Q_SIGNALS:
    void rangeChanged();
    void centerxChanged();
    void radiusChanged();
    void centeryChanged();
    void currentValueRatioChanged();
    void refValueRatioChanged();
    void valueAngleRadChanged();
    void refValueAngleRadChanged();
    void zeroValueRatioChanged();
    void zeroValueAngleRadChanged();

private:
    // A step that cannot divide by the range fails with one of these; the entry points catch it.
    struct DivisionByZero
    {
        const char *message;
    };

    bool rangeRefusesDivision() const;
    void updateRange(double max, double min);
    void updateCurrentValueRatio(double current, double min);
    void updateRefValueRatio(double ref, double min);
    void updateValueAngleRad();
    void updateRefValueAngleRad();
    void updateZeroValueRatio(bool drawBarFromZero, double min);
    void updateZeroValueAngleRad();
    void setOutput(double &field, double value, void (GaugeDraw::*changed)());
    template<typename Steps>
    void runGuarded(const char *failedText, Steps steps);

    double m_range = 1.0;
    const double m_startAngle;
    const double m_endAngle;
    const double m_wholeAngle;
    const double m_refLineThickness;
    double m_centerx = 0;
    double m_radius = 0;
    double m_centery = 0;
    double m_currentValueRatio = 0;
    double m_refValueRatio = 0;
    double m_valueAngleRad = 0;
    double m_refValueAngleRad = 0;
    double m_zeroValueRatio = 0;
    double m_zeroValueAngleRad = 0;
};

#endif // GAUGEDRAW_H

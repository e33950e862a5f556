#pragma once

#include "store/error.h"

#include <QString>
#include <QStringList>

class RandomSource;
class TDataModule2;

// The progress window's gauge as the drawing drives it, and the moments at
// which the interface may repaint.
class DrawProgress {
public:
    virtual ~DrawProgress() = default;
    virtual int maximum() const = 0;
    virtual void setMaximum(int maximum) = 0;
    virtual void step() = 0;
    virtual void processEvents() = 0;
};

// Progress that nobody watches: tools, benchmarks and tests that draw
// without a window.
class SilentProgress : public DrawProgress {
public:
    int maximum() const override { return m_max; }
    void setMaximum(int maximum) override { m_max = maximum; }
    void step() override {}
    void processEvents() override {}

private:
    int m_max = 0;
};

// A fault in the drawn questions themselves (a right answer that is not
// А, Б, В or Г, a matching pair without points).
class DrawingFault : public LayerError {
public:
    using LayerError::LayerError;
};

// The section cannot give the questions asked for: the rows left to draw
// from are none of them usable. Nothing is wrong with the program; the pupil
// chooses again.
class TooFewQuestions : public LayerError {
public:
    TooFewQuestions();
};

struct DrawResult {
    QString testSubject;
    QString testSection;
    int questionCount = 0;
    // The rows met that could not be asked and were left out: "№ num: why".
    QStringList leftOut;
};

// Draws `count` questions of the section on which dm.Topics stands, from the
// database of class `classNo`, into the scratch tables of a renewed scratch
// database: numbering the section, picking usable questions at random kind by
// kind (four answers, matching, gap fill, again ...), copying them into temp4
// with their answers, terms and meanings shuffled, the right pairs into temp1,
// temp2 emptied. On return Temp stands open on temp4, Temp1 on temp1 (when a
// question was copied), Temp2 on temp2 and Themes on the section's questions.
// Any database failure is thrown as it came.
DrawResult drawQuestions(TDataModule2& dm, unsigned classNo, int count, RandomSource& random,
                         DrawProgress& progress);

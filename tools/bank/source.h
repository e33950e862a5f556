#pragma once

#include "model.h"

namespace bank {

class PictureCache;

// Where the questions of a source go while it is read, so that a long source
// need not be held whole. `clean` tells whether the file has no fault so far.
class QuestionSink {
public:
    virtual ~QuestionSink() = default;
    // The class and subject are read; the sections follow.
    virtual void beginSource(const Source& source, bool clean) = 0;
    // The section's own fields are read; its questions follow.
    virtual void beginSection(const Section& section, bool clean) = 0;
    // Returns whether the section keeps the question as well.
    virtual bool question(const Question& question, bool clean) = 0;
};

// Reads one bank file (`relativeFile` under `contentFolder`, e.g.
// "banks/bel5.yaml") into a model, appending every fault and warning it finds
// to `issues`. Pictures are read and checked here, each once in `pictures`
// (or in a cache of this file's own). Checks that need the other sources as
// well (table names, sections given twice) are not made here. With a `sink`,
// the questions go there as they are read.
Source parseSource(const QString& contentFolder, const QString& relativeFile, QList<Issue>* issues,
                   QuestionSink* sink = nullptr, PictureCache* pictures = nullptr);

// The same for one dictionary file ("dict/en_bg.yaml").
Dictionary parseDictionary(const QString& contentFolder, const QString& relativeFile,
                           QList<Issue>* issues);

// Warnings in kivor-bank's words, for tools that check a source they wrote
// without reading it back: a section with `usable` questions (fewer than 2),
// pair `pair` whose meaning repeats `word` of its `term`, points given that
// differ from the items' `sum`.
QString fewQuestionsWarning(int usable);
QString giveawayWarning(int pair, const QString& word, const QString& term);
QString pointsWarning(Kind kind, int given, int sum);

// A table name the databases can hold and a statement can name safely:
// Latin letters, digits and _, not starting with a digit.
bool isTableName(const QString& name);

} // namespace bank

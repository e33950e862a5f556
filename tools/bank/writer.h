#pragma once

#include "bank.h"

#include <QVariantHash>
#include <memory>

namespace bank {

// Writes the databases of a program folder while the sources are read: the
// questions of a source go into its class's database as they come, and are
// taken back when the source turns out faulty, so that only fault-free
// sources are there and no source is held whole. Every file is built beside
// its place and takes it in finish(). Every failure to write is appended to
// `issues` as a fault.
class BankWriter {
public:
    BankWriter(const QString& programFolder, QList<Issue>* issues);
    ~BankWriter();
    BankWriter(const BankWriter&) = delete;
    BankWriter& operator=(const BankWriter&) = delete;

    // `clean`: the source has no fault so far; once it has one, its rows
    // are no longer written.
    void beginSource(int classNo, bool clean);
    void beginSection(const QString& table, bool clean);
    void question(const Question& q, bool clean);
    // Keeps the rows of the source begun last, or takes them back.
    void endSource(bool keep);
    // Puts the class databases in their places and writes the others from
    // `content`, whose sources are those kept.
    void finish(const Content& content);

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

// The column values of one question row, by column name of the question
// table. `number` is the row's num.
QVariantHash questionRow(const Question& q, int number);

} // namespace bank

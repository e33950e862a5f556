#pragma once

#include <QString>

class Query;

namespace fixture {

// Drives a query by a line of step words, so that a data table can name a
// walk in one cell: "next", "prior", "first", "last", "move:K", "edit",
// "set:Field=value", "post", "cancel", "append", "insert", "delete",
// "locate:Field=value". An unknown word fails the test.
void runSteps(Query& q, const QString& steps);

} // namespace fixture

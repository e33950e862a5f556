#pragma once

#include <QSize>
#include <QString>

#include <vector>

class QPainter;

// One picture the tool makes. Window pictures are built into the program;
// the others go to the program folder's images/, where the main window reads
// them by name.
struct ArtItem {
    QString name; // file name without ".jpg"
    QSize size;
    bool embedded;
    bool transparent; // a glyph: written together with its grey outline
    void (*paint)(QPainter& p, const QSize& size);
};

// Every picture, in the order of the contact sheet. The file names must match
// the lists in tools/art/CMakeLists.txt.
std::vector<ArtItem> catalogue();

// Painters, one per picture.
void paintTitle(QPainter& p, const QSize& size);
void paintSplash(QPainter& p, const QSize& size);
void paintAbout(QPainter& p, const QSize& size);
void paintTestGlyph(QPainter& p, const QSize& size);
void paintTutorGlyph(QPainter& p, const QSize& size);
void paintRemoveWord(QPainter& p, const QSize& size);
void paintArrow(QPainter& p, const QSize& size);

void paintWelcome(QPainter& p, const QSize& size);
void paintTest(QPainter& p, const QSize& size);
void paintTutor(QPainter& p, const QSize& size);
void paintInformation(QPainter& p, const QSize& size);
void paintQuestion(QPainter& p, const QSize& size);
void paintSettings(QPainter& p, const QSize& size);
void paintExit(QPainter& p, const QSize& size);

#pragma once

#include "error.h"

#include <QList>
#include <QString>
#include <QStringList>

class Connection;

// The pupil database carries the version of its layout in the engine's
// user_version. Step n of the list turns a file of version n into one of
// version n + 1: its statements, then the new number, in one transaction.
// The files every school already has say 0 and hold the first layout; the
// first step only writes the number into them. A change of the layout is one
// more row at the end of the list.
using PupilFileSteps = QList<QStringList>;
const PupilFileSteps& pupilFileSteps();

// The version new pupil files are written at: the highest the steps reach.
inline int currentPupilFileVersion(const PupilFileSteps& steps = pupilFileSteps()) {
    return int(steps.size());
}

// What the open file says (0: never stamped).
int storedPupilFileVersion(Connection& c);

// Writes the current version into a pupil file just made with that layout.
void stampPupilFile(Connection& c, const PupilFileSteps& steps = pupilFileSteps());

// A pupil file written by a newer program than this one: refused as it is,
// never written to.
class PupilFileTooNew : public StoreError {
public:
    PupilFileTooNew(const QString& path, int version, int known);
};

// Raises PupilFileTooNew for a file whose version the steps do not reach.
void refuseNewerPupilFile(Connection& c, const QString& shownPath,
                          const PupilFileSteps& steps = pupilFileSteps());

enum class PupilFileUpgrade {
    Absent,     // no file: the installation check reports it
    Unreadable, // damaged or not a database: reported where it is used, as ever
    Current,
    Migrated,
};

// Brings data/students.mdb of the program folder to the current version,
// keeping a copy of the file as it was beside it (students.mdb.v<version>).
// Raises PupilFileTooNew for a newer file, a StoreError when the copy or the
// migration fails; either way the file is left as it was.
PupilFileUpgrade upgradePupilFile(const QString& programFolder,
                                  const PupilFileSteps& steps = pupilFileSteps());

// upgradePupilFile the first time the program uses the folder's pupil file:
// opening the encrypted file costs tens of milliseconds, which the windows
// that read and write it pay anyway and the start of the program should not.
// Raises as upgradePupilFile; after a failure the next use tries again.
void upgradePupilFileBeforeUse(const QString& programFolder);

#include "requiredfiles.h"

#include "store/paths.h"

#include <QFileInfo>

const QStringList& requiredFiles() {
    static const QStringList files = {
        QStringLiteral("\\help.exe"),
        QStringLiteral("\\dict\\dict.mdb"),
        QStringLiteral("\\data\\class1.mdb"),
        QStringLiteral("\\data\\ctemp.mdb"),
        QStringLiteral("\\data\\m_thms.mdb"),
        QStringLiteral("\\data\\students.mdb"),
        QStringLiteral("\\data\\topics.mdb"),
        QStringLiteral("\\help4\\p01.htm"),
        QStringLiteral("\\help4\\p02.htm"),
        QStringLiteral("\\help4\\p03.htm"),
        QStringLiteral("\\help4\\p04.htm"),
        QStringLiteral("\\help4\\p05.htm"),
        QStringLiteral("\\help4\\p06.htm"),
        QStringLiteral("\\help4\\x.bmp"),
        QStringLiteral("\\help4\\images\\p02\\01.jpg"),
        QStringLiteral("\\help4\\images\\p02\\02.jpg"),
        QStringLiteral("\\help4\\images\\p05\\01.bmp"),
        QStringLiteral("\\help4\\images\\p05\\02.jpg"),
        QStringLiteral("\\help4\\images\\p05\\03.jpg"),
        QStringLiteral("\\help4\\images\\p05\\04.jpg"),
    };
    return files;
}

int firstMissingRequiredFile(const QString& folder) {
    const QStringList& files = requiredFiles();
    for (int i = 0; i < files.size(); ++i)
        if (!QFileInfo(programPath(folder, files[i])).isFile())
            return i;
    return -1;
}

#include "datamodule.h"

#include "store/scratch.h"

TDataModule2::TDataModule2(QObject* parent) : QObject(parent) {}

TDataModule2::~TDataModule2() = default;

QString TDataModule2::connectionString(DbFile file, unsigned classNo) const {
    return ::connectionString(m_programFolder, file, classNo);
}

void TDataModule2::renewScratch() {
    ::renewScratch(m_programFolder);
}

void TDataModule2::connectScratch() {
    ATemp1.close();
    ATemp1.setConnectionString(connectionString(DbFile::Scratch));
    ATemp1.open();
}

#include "moc_datamodule.cpp"

#pragma once

#include <QDialog>

#include "app/dialogs/document_counts.h"

namespace korvane {

// Shows how many objects, three-point and four-point patches the document holds.
class DocumentInfoDialog : public QDialog {
    Q_OBJECT

  public:
    // Counts at once (CountDocument), building the patches that are not valid; the objects must
    // not be converted meanwhile. english: caption and labels in English.
    DocumentInfoDialog(const ObjectList<PatchObject>& objects, bool english,
                       QWidget* parent = nullptr);

    const DocumentCounts& counts() const { return counts_; }

  private:
    DocumentCounts counts_;
};

}  // namespace korvane

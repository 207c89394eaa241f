#pragma once

#include <QDialog>

#include "document/document_counts.h"

namespace korvane {

// Shows how many objects, three-point and four-point patches the document holds.
class DocumentInfoDialog : public QDialog {
    Q_OBJECT

  public:
    // Shows the objects and the totals of counts. english: caption and labels in English.
    DocumentInfoDialog(const DocumentCounts& counts, bool english, QWidget* parent = nullptr);
};

}  // namespace korvane

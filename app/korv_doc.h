#pragma once

#include <QObject>

#include <cstdint>

#include "document/document.h"
#include "view/camera.h"
#include "view/display_settings.h"

namespace korvane {

// The one document: the converted objects, reached through the core's Document and its doors, with
// their patches always found, since the view draws them; and what the view shows of them, the
// camera and the background. It has no file of its own; it counts as modified from a Connect Curve
// run until the next export or New, so that the work is not thrown away unasked.
class CKorvDoc : public QObject, public Document {
    Q_OBJECT

  public:
    // Stores itself as the application's document; draws the smooth surfaces if the last run did.
    explicit CKorvDoc(QObject* parent = nullptr);
    // Deletes the objects, then writes the settings file.
    ~CKorvDoc() override;

    // Empties the document for New: no objects, default camera, not modified,
    // NotifyCode::NotifyNewDocument. The display settings and the background keep their values.
    bool OnNewDocument();
    void ResetCamera();
    // Asks every view to redraw objects that may have changed in place.
    void UpdateAllViews();
    // Asks every view to redraw after a change of what is shown or from where, not of the objects:
    // what the views hold of the objects stays.
    void UpdateDisplay();

    const QString& title() const { return title_; }

    DisplaySettings displaySettings;
    Camera camera;
    std::uint32_t backgroundColour = 0x646464;  // 0x00BBGGRR
    bool modified = false;                      // curves connected since the last export or New
    QString lastImportPath;  // the model imported last, whose name the export suggests

  signals:
    void changed();
    void displayChanged();
    // Directly, before the objects change: whoever reads them on a thread of its own stops. On
    // this object's thread; a Connect Curve run sends it before its thread begins.
    void objectsChanging();

  protected:
    void BeforeObjectsChange() override;

  private:
    QString title_;
};

}  // namespace korvane

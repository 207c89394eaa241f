#pragma once

#include <QObject>

#include <cstdint>

#include "geometry/object_list.h"
#include "import/object_sink.h"
#include "patch/patch_object.h"
#include "view/camera.h"
#include "view/display_settings.h"

namespace korvane {

// The one document: the converted objects, what the view shows of them, the camera and the
// background. It has no file of its own and is never marked as modified.
class CKorvDoc : public QObject, public ObjectSink {
    Q_OBJECT

  public:
    // Stores itself as the application's document.
    explicit CKorvDoc(QObject* parent = nullptr);
    // Deletes the objects, then writes the settings file.
    ~CKorvDoc() override;

    // A new, empty object appended to objects.
    PatchObject* AddObject() override;
    // Deletes every object from head to tail and empties the list.
    void DeleteAllObjects();
    // Empties the document for New: no objects, default camera, NotifyNewDocument. The display
    // settings and the background keep their values.
    bool OnNewDocument();
    void ResetCamera();
    // Asks every view to redraw.
    void UpdateAllViews();

    const QString& title() const { return title_; }

    DisplaySettings displaySettings;
    Camera camera;
    std::uint32_t backgroundColour = 0x646464;  // 0x00BBGGRR
    ObjectList<PatchObject> objects;            // owned, insertion order

  signals:
    void changed();

  private:
    QString title_;
};

}  // namespace korvane

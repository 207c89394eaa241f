#pragma once

#include <QFont>

namespace korvane {

// "MS Sans Serif" 9 point of the Connect, Setting and Document dialogs: a free Latin sans face,
// with the Japanese Gothic for the Japanese labels.
QFont SansSerifDialogFont();

// "ＭＳ Ｐゴシック" 9 point of the About and language dialogs: IPAPGothic, a proportional Japanese
// Gothic face (Debian's fonts-ipafont-gothic); any sans face where it is missing.
QFont GothicDialogFont();

}  // namespace korvane

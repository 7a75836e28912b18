#pragma once
// Pictures of spray nozzles (tips) for a nozzle type and size: catalogue types
// from the drawing library (one drawing per catalogue model, named by its
// designation), the stream-nozzle and orifice types from generic pictures
// coloured by the size's colour code, anything else as the unknown tip.
// GUI thread only.
#include <QPixmap>
#include <QSize>
#include <QString>

namespace NozImage {

class NozzleImage {
public:
    virtual ~NozzleImage();

    // Created on first use, kept for the life of the process.
    static NozzleImage* instance();

    QPixmap getNozzleImage(int type, int sizeIndex, QSize size);
    // The resource that getNozzleImage draws; the unknown tip when the
    // library has no drawing (reported on the console).
    QString imagePath(int type, int sizeIndex);

    // "tip_3H_" and "tip_5H_" for the stream types 15 and 16, "tip_OrificePlate"
    // for 17, empty for any other type.
    static QString familyPrefix(int type);
    // The standard colour of a size code; empty for codes without one.
    static QString sizeColourName(int code);

private:
    NozzleImage() = default;
};

}  // namespace NozImage

// Registers the nozzle drawings and the widget kit's pictures. Safe to repeat.
void nozImageInitResources();

// Registers the GUI's compiled-in pictures and style sheets (the widget kit's,
// the framework's, the nozzle drawings and the colour schemes). The main program calls it once before building the first page.
// Defined by the framework library (gui/guiresources.cpp), the one that reaches every screen's resources.
void guiInitResources();

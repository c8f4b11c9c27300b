#pragma once
// The pictures of the frame's toolbar buttons, drawn for this program.

class TImageList;

enum TActionImage {
    aiNew, aiOpen, aiSave, aiPreview, aiCut, aiCopy, aiPaste, aiUndo, aiCascade, aiTileHorizontal,
    aiTileVertical, aiRedraw, aiFind, aiCheckScheme, aiListElements, aiConnections, aiExport, aiSignals,
    aiSelect, aiDevice, aiPin, aiWire, aiConnector, aiSymbol, aiFsm, aiZoom, aiExit, aiDebugger, aiTimingDiagram,
    kActionImageCount
};

// Fills an image list with the pictures in TActionImage order (16 by 16).
void FillActionImages(TImageList* list);

#pragma once
// TSplashForm: the window shown while the program starts. The program entry
// makes it, advances its progress bar as the start-up goes on, and the frame
// deletes it when it is first shown.

#include "platform/gui/ComCtrls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TSplashForm : public TForm {
public:
    explicit TSplashForm(TComponent* owner);

    TPanel* Panel1;
    TImage* Image1;
    TLabel* Version;
    TLabel* Label1;
    TLabel* Label2;
    TMemo* ScrollText;
    TProgressBar* ProgressBar;

    void FormCreate(TObject* Sender);
};

// The splash window while it exists; null once the frame has removed it.
extern TSplashForm* SplashForm;

// Paints the program's picture (a small scheme) on a canvas of that size;
// the splash window and the about box show it.
void PaintProgramPicture(TCanvas* canvas, int width, int height);

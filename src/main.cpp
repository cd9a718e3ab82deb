#include "KX_GSM.h"

int main(int argc, char** argv)
{
    CKX_GSMApp app(argc, argv);
    return app.Run();
}

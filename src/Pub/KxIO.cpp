#include "Pub/KxIO.h"

CKxIO::CKxIO() = default;
CKxIO::~CKxIO() = default;

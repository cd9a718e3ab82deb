#include "Pub/KxPort.h"

#include "Pub/KxSerialPort.h"

namespace
{
KxPortFactory& Factory()
{
    static KxPortFactory s_factory;
    return s_factory;
}
} // namespace

CKxPort::CKxPort() = default;
CKxPort::~CKxPort() = default;

KxPortFactory KxSetPortFactory(KxPortFactory factory)
{
    KxPortFactory old = std::move(Factory());
    Factory() = std::move(factory);
    return old;
}

std::unique_ptr<CKxPort> KxCreatePort()
{
    if (Factory())
        return Factory()();
    return std::make_unique<CKxSerialPort>();
}

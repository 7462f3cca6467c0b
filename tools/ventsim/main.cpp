// ventsim: a virtual Ventolux instrument on a pseudo-terminal.
#include "tools/ventsim/virtual_instrument.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::puts("ventsim: virtual instrument");
    return 0;
}

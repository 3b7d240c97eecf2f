#include "compiler/USaveBincc.h"

#include "app/UComon.h"

void Compile_Bin()
{
    throw App_Error(QStringLiteral("The configuration compiler is not available yet."));
}

void Save_Bin()
{
}

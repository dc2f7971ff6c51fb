#include "main/Cdatos.h"

TEstadoGeneral Datos;
TDatos_Generales* Datos_Generales = nullptr;

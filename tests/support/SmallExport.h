#pragma once

#include "support/TestExport.h"

// A table, a codeunit and an object of a type the catalogue does not name, in the export layout.
inline std::string smallExport()
{
    return crlf(R"EXPORT(OBJECT Table 18 Customer
{
  OBJECT-PROPERTIES
  {
    Date=14.07.03;
    Time=12:00:00;
    Version List=NAVW13.70;
  }
  PROPERTIES
  {
    OnInsert=VAR
               Counter@1000 : Integer;
               Spare@1001 : Integer;
             BEGIN
               Counter := 1;
               MESSAGE(Text000);
             END;

    OnDelete=BEGIN
               CheckCredit(Total);
             END;

  }
  FIELDS
  {
    { 1   ;   ;No.                 ;Code20         }
    { 2   ;   ;Name                ;Text30        ;OnValidate=BEGIN
                                                                Name := UPPERCASE(Name);
                                                              END;
                                                           }
  }
  KEYS
  {
    {    ;No.                                     ;Clustered=Yes }
  }
  CODE
  {
    VAR
      Text000@1000 : TextConst 'ENU=Hello OBJECT Codeunit 99';
      Cust@1001 : Record 18;
      Total@1002 : Decimal;
      Unused@1003 : Text[30];

    PROCEDURE CheckCredit@1(VAR Amount@1000 : Decimal) : Boolean;
    VAR
      Limit@1001 : Decimal;
      Customer@1002 : Record 18;
      Cust@1003 : Integer;
    BEGIN
      Limit := Amount;
      // Customers only
    END;

    LOCAL PROCEDURE Helper@2();
    BEGIN
    END;

    PROCEDURE CalcTotal@3();
    VAR
      Cust@1000 : Record 18;
    BEGIN
      Cust.FIND;
      Helper;
    END;

    BEGIN
    END.
  }
}

OBJECT Codeunit 50000 Sales Helper
{
  OBJECT-PROPERTIES
  {
    Date=01.02.04;
    Time=08:30:00;
    Version List=;
  }
  PROPERTIES
  {
    OnRun=BEGIN
            Post;
          END;

  }
  CODE
  {
    VAR
      Customer@1000 : Record 18;

    PROCEDURE Post@1();
    BEGIN
      Customer.CalcTotal;
    END;

    LOCAL PROCEDURE Orphan@2();
    BEGIN
      Post;
    END;

    BEGIN
    END.
  }
}

OBJECT Page 21 Customer Card
{
  PROPERTIES
  {
  }
}
)EXPORT");
}

// The registry's entries: one global object per operator and function and the table that
// sets each up with its names, precedence, kind, category, check rule and evaluation.
//
// Current limit: evaluation routines are wired for the operators, the mathematical and
// trigonometric functions and AND, OR and NOT. Every other function has no
// evaluation routine yet (its node evaluates to empty), and the choice, remote and document entries
// have no added routine yet (their added operations answer 4); the function families bring them.
#include <iterator>

#include "formula/operators.h"
#include "functions/check_routines.h"
#include "functions/func.h"
#include "functions/math_functions.h"
#include "functions/registry_internal.h"

#define RULE(min, max, ranges, k) &CheckWithRule<ArgRule{min, max, RangeRule::ranges, k}>
#define kMany kManyArgs

// Every function: global object, id, class, category, check rule, evaluation, listed.
#define OSTREL_BUILTIN_FUNCTIONS(X)                                                   \
    X(ABSFunc, 13044, CCFunc, 1, RULE(1, 1, kNone, 0), EvalABS, 1)                    \
    X(ACOSHFunc, 13045, CCFunc, 1, RULE(1, 1, kNone, 0), EvalACOSH, 1)                \
    X(ACOTANHFunc, 13046, CCFunc, 1, RULE(1, 1, kNone, 0), EvalACOTANH, 1)            \
    X(ASINHFunc, 13047, CCFunc, 1, RULE(1, 1, kNone, 0), EvalASINH, 1)                \
    X(ATANHFunc, 13048, CCFunc, 1, RULE(1, 1, kNone, 0), EvalATANH, 1)                \
    X(COSHFunc, 13049, CCFunc, 1, RULE(1, 1, kNone, 0), EvalCOSH, 1)                  \
    X(COTANHFunc, 13050, CCFunc, 1, RULE(1, 1, kNone, 0), EvalCOTANH, 1)              \
    X(DIVIDEFunc, 13051, CCFunc, 1, RULE(1, kMany, kAny, 0), EvalDiv, 1)              \
    X(EVENFunc, 13052, CCFunc, 1, RULE(1, 1, kNone, 0), EvalEVEN, 1)                  \
    X(EXPFunc, 13053, CCFunc, 1, RULE(1, 1, kNone, 0), EvalEXP, 1)                    \
    X(FACTFunc, 13054, CCFunc, 1, RULE(1, 1, kNone, 0), EvalFACT, 1)                  \
    X(FACTDOUBLEFunc, 13055, CCFunc, 1, RULE(1, 1, kNone, 0), EvalFACTDOUBLE, 1)      \
    X(GCDFunc, 13056, CCFunc, 1, RULE(1, kMany, kAny, 0), EvalGCD, 1)                 \
    X(INTFunc, 13057, CCFunc, 1, RULE(1, 1, kNone, 0), EvalINT, 1)                    \
    X(LCMFunc, 13058, CCFunc, 1, RULE(1, kMany, kAny, 0), EvalLCM, 1)                 \
    X(LNFunc, 13059, CCFunc, 1, RULE(1, 1, kNone, 0), EvalLN, 1)                      \
    X(LOGFunc, 13060, CCFunc, 1, RULE(1, 2, kNone, 0), EvalLOG, 1)                    \
    X(LOG10Func, 13061, CCFunc, 1, RULE(1, 1, kNone, 0), EvalLOG10, 1)                \
    X(MDETERMFunc, 13062, CCFunc, 1, RULE(1, 1, kAny, 0), EvalMDETERM, 1)             \
    X(MINUSFunc, 13063, CCFunc, 1, RULE(1, kMany, kAny, 0), EvalSub, 1)               \
    X(MODFunc, 13064, CCFunc, 1, RULE(2, 2, kNone, 0), EvalMOD, 1)                    \
    X(MULTINOMIALFunc, 13065, CCFunc, 1, RULE(1, kMany, kAny, 0), EvalMULTINOMIAL, 1) \
    X(ODDFunc, 13066, CCFunc, 1, RULE(1, 1, kNone, 0), EvalODD, 1)                    \
    X(PLUSFunc, 13067, CCFunc, 1, RULE(1, kMany, kAny, 0), EvalAdd, 1)                \
    X(POWERFunc, 13068, CCFunc, 1, RULE(2, kMany, kAny, 0), EvalPower, 1)             \
    X(RANDFunc, 13069, CCFunc, 1, RULE(0, 1, kNone, 0), EvalRAND, 1)                  \
    X(RANDBETWEENFunc, 13070, CCFunc, 1, RULE(2, 2, kNone, 0), EvalRANDBETWEEN, 1)    \
    X(ROUNDFunc, 13071, CCFunc, 1, RULE(2, 2, kNone, 0), EvalROUND, 1)                \
    X(ROUNDDOWNFunc, 13072, CCFunc, 1, RULE(2, 2, kNone, 0), EvalROUNDDOWN, 1)        \
    X(ROUNDUPFunc, 13073, CCFunc, 1, RULE(2, 2, kNone, 0), EvalROUNDUP, 1)            \
    X(SERIESSUMFunc, 13074, CCFunc, 1, RULE(3, kMany, kFrom, 4), EvalSERIESSUM, 1)    \
    X(SIGNFunc, 13075, CCFunc, 1, RULE(1, 1, kNone, 0), EvalSIGN, 1)                  \
    X(SINHFunc, 13076, CCFunc, 1, RULE(1, 1, kNone, 0), EvalSINH, 1)                  \
    X(SQRFunc, 13077, CCFunc, 1, RULE(1, 1, kNone, 0), EvalSQR, 1)                    \
    X(SQRTFunc, 13078, CCFunc, 1, RULE(1, 1, kNone, 0), EvalSQRT, 1)                  \
    X(SUMFunc, 13079, CCFunc, 1, RULE(1, kMany, kAny, 0), EvalSUM, 1)                 \
    X(SUMTIMESFunc, 13080, CCFunc, 1, RULE(0, kMany, kAny, 0), EvalSUMTIMES, 1)       \
    X(SUMSQFunc, 13081, CCFunc, 1, RULE(0, kMany, kAny, 0), EvalSUMSQ, 1)             \
    X(SUMX2MY2Func, 13082, CCFunc, 1, RULE(2, 2, kAny, 0), EvalSUMX2MY2, 1)           \
    X(SUMX2PY2Func, 13083, CCFunc, 1, RULE(2, 2, kAny, 0), EvalSUMX2PY2, 1)           \
    X(SUMXMY2Func, 13084, CCFunc, 1, RULE(2, 2, kAny, 0), EvalSUMXMY2, 1)             \
    X(SUMXPY2Func, 13085, CCFunc, 1, RULE(2, 2, kAny, 0), EvalSUMXPY2, 1)             \
    X(TANHFunc, 13086, CCFunc, 1, RULE(1, 1, kNone, 0), EvalTANH, 1)                  \
    X(TIMESFunc, 13087, CCFunc, 1, RULE(0, kMany, kAny, 0), EvalMul, 1)               \
    X(TOTALFunc, 13088, CCFunc, 1, RULE(1, kMany, kAny, 0), EvalSUM, 1)               \
    X(ACOSFunc, 13089, CCFunc, 2, RULE(1, 1, kNone, 0), EvalACOS, 1)                  \
    X(ACOTANFunc, 13090, CCFunc, 2, RULE(1, 1, kNone, 0), EvalACOTAN, 1)              \
    X(ASINFunc, 13091, CCFunc, 2, RULE(1, 1, kNone, 0), EvalASIN, 1)                  \
    X(ATANFunc, 13092, CCFunc, 2, RULE(1, 1, kNone, 0), EvalATAN, 1)                  \
    X(ATAN2Func, 13093, CCFunc, 2, RULE(2, 2, kNone, 0), EvalATAN2, 1)                \
    X(COSFunc, 13094, CCFunc, 2, RULE(1, 1, kNone, 0), EvalCOS, 1)                    \
    X(COTANFunc, 13095, CCFunc, 2, RULE(1, 1, kNone, 0), EvalCOTAN, 1)                \
    X(DEGREESFunc, 13096, CCFunc, 2, RULE(1, 1, kNone, 0), EvalDEGREES, 1)            \
    X(PIFunc, 13097, CCFunc, 2, RULE(0, 0, kNone, 0), EvalPI, 1)                      \
    X(RADIANSFunc, 13098, CCFunc, 2, RULE(1, 1, kNone, 0), EvalRADIANS, 1)            \
    X(SINFunc, 13099, CCFunc, 2, RULE(1, 1, kNone, 0), EvalSIN, 1)                    \
    X(SQRTPIFunc, 13100, CCFunc, 2, RULE(1, 1, kNone, 0), EvalSQRTPI, 1)              \
    X(TANFunc, 13101, CCFunc, 2, RULE(1, 1, kNone, 0), EvalTAN, 1)                    \
    X(AVEDEVFunc, 13102, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)              \
    X(AVERAGEFunc, 13103, CCFunc, 4, RULE(0, kMany, kAny, 0), nullptr, 1)             \
    X(AVGFunc, 13104, CCFunc, 4, RULE(0, kMany, kAny, 0), nullptr, 1)                 \
    X(BINOMDISTFunc, 13105, CCFunc, 4, RULE(4, 4, kNone, 0), nullptr, 1)              \
    X(COMBFunc, 13106, CCFunc, 4, RULE(2, 2, kNone, 0), nullptr, 1)                   \
    X(CORRELFunc, 13107, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)                  \
    X(COUNTFunc, 13108, CCFunc, 4, RULE(0, kMany, kAny, 0), nullptr, 1)               \
    X(COUNTNFunc, 13109, CCFunc, 4, RULE(0, kMany, kAny, 0), nullptr, 1)              \
    X(COVARFunc, 13110, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)                   \
    X(DEVSQFunc, 13111, CCFunc, 4, RULE(0, kMany, kAny, 0), nullptr, 1)               \
    X(EXPONDISTFunc, 13112, CCFunc, 4, RULE(3, 3, kNone, 0), nullptr, 1)              \
    X(FISHERFunc, 13113, CCFunc, 4, RULE(1, 1, kNone, 0), nullptr, 1)                 \
    X(FISHERINVFunc, 13114, CCFunc, 4, RULE(1, 1, kNone, 0), nullptr, 1)              \
    X(FORECASTFunc, 13115, CCFunc, 4, RULE(3, 3, kAllBut, 1), nullptr, 1)             \
    X(GAMMADISTFunc, 13116, CCFunc, 4, RULE(3, 3, kNone, 0), nullptr, 1)              \
    X(GAMMALNFunc, 13117, CCFunc, 4, RULE(1, 1, kNone, 0), nullptr, 1)                \
    X(GEOMEANFunc, 13118, CCFunc, 4, RULE(0, kMany, kAny, 0), nullptr, 1)             \
    X(HARMEANFunc, 13119, CCFunc, 4, RULE(0, kMany, kAny, 0), nullptr, 1)             \
    X(HYPGEOMDISTFunc, 13120, CCFunc, 4, RULE(4, 4, kNone, 0), nullptr, 1)            \
    X(INTERCEPTFunc, 13121, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)               \
    X(KURTFunc, 13122, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)                \
    X(LARGEFunc, 13123, CCFunc, 4, RULE(2, kMany, kAny, 0), nullptr, 1)               \
    X(MAXFunc, 13124, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)                 \
    X(MEDIANFunc, 13125, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)              \
    X(MINFunc, 13126, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)                 \
    X(MODEFunc, 13127, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)                \
    X(NEGBINOMDISTFunc, 13128, CCFunc, 4, RULE(3, 3, kNone, 0), nullptr, 1)           \
    X(NORMDISTFunc, 13129, CCFunc, 4, RULE(3, 3, kNone, 0), nullptr, 1)               \
    X(NORMSDISTFunc, 13130, CCFunc, 4, RULE(1, 1, kAny, 0), nullptr, 0)               \
    X(PEARSONFunc, 13131, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)                 \
    X(PERCENTILEFunc, 13132, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)              \
    X(PERCENTRANKFunc, 13133, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)             \
    X(PERMFunc, 13134, CCFunc, 4, RULE(2, 2, kNone, 0), nullptr, 1)                   \
    X(POISSONFunc, 13135, CCFunc, 4, RULE(3, 3, kNone, 0), nullptr, 1)                \
    X(PROBFunc, 13136, CCFunc, 4, RULE(3, 4, kAny, 0), nullptr, 1)                    \
    X(QUARTILEFunc, 13137, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)                \
    X(RANKFunc, 13138, CCFunc, 4, RULE(2, 3, kOnly, 2), nullptr, 1)                   \
    X(RSQFunc, 13139, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)                     \
    X(SKEWFunc, 13140, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)                \
    X(SLOPEFunc, 13141, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)                   \
    X(SMALLFunc, 13142, CCFunc, 4, RULE(2, kMany, kAny, 0), nullptr, 1)               \
    X(STANDARDIZEFunc, 13143, CCFunc, 4, RULE(3, 3, kNone, 0), nullptr, 1)            \
    X(STDFunc, 13144, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)                 \
    X(STDEVFunc, 13145, CCFunc, 4, RULE(0, kMany, kAny, 0), nullptr, 1)               \
    X(STDEVPFunc, 13146, CCFunc, 4, RULE(0, kMany, kAny, 0), nullptr, 1)              \
    X(STEYXFunc, 13147, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)                   \
    X(VARFunc, 13148, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)                 \
    X(VARPFunc, 13149, CCFunc, 4, RULE(1, kMany, kAny, 0), nullptr, 1)                \
    X(WAVGFunc, 13150, CCFunc, 4, RULE(2, 2, kAny, 0), nullptr, 1)                    \
    X(WEIBULLFunc, 13151, CCFunc, 4, RULE(4, 4, kNone, 0), nullptr, 1)                \
    X(ZTESTFunc, 13152, CCFunc, 4, RULE(2, 3, kOnly, 1), nullptr, 0)                  \
    X(CHARFunc, 13153, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                   \
    X(CLEANFunc, 13154, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                  \
    X(CODEFunc, 13155, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                   \
    X(CONCATENATEFunc, 13156, CCFunc, 6, RULE(0, kMany, kAny, 0), nullptr, 1)         \
    X(DOLLARFunc, 13157, CCFunc, 6, RULE(1, 2, kNone, 0), nullptr, 1)                 \
    X(EXACTFunc, 13158, CCFunc, 6, RULE(2, 2, kNone, 0), nullptr, 1)                  \
    X(FINDTEXTFunc, 13159, CCFunc, 6, RULE(2, 3, kNone, 0), nullptr, 1)               \
    X(FIXEDFunc, 13160, CCFunc, 6, RULE(1, 3, kNone, 0), nullptr, 1)                  \
    X(LEFTFunc, 13161, CCFunc, 6, RULE(1, 2, kNone, 0), nullptr, 1)                   \
    X(LENFunc, 13162, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                    \
    X(LOWERFunc, 13163, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                  \
    X(MIDFunc, 13164, CCFunc, 6, RULE(2, 3, kNone, 0), nullptr, 1)                    \
    X(PROPERFunc, 13165, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                 \
    X(REPLACEFunc, 13166, CCFunc, 6, RULE(4, 4, kNone, 0), nullptr, 1)                \
    X(REPTFunc, 13167, CCFunc, 6, RULE(2, 2, kNone, 0), nullptr, 1)                   \
    X(RIGHTFunc, 13168, CCFunc, 6, RULE(1, 2, kNone, 0), nullptr, 1)                  \
    X(SEARCHTEXTFunc, 13169, CCFunc, 6, RULE(2, 3, kNone, 0), nullptr, 1)             \
    X(SUBSTITUTEFunc, 13170, CCFunc, 6, RULE(3, 4, kNone, 0), nullptr, 1)             \
    X(TFunc, 13171, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                      \
    X(TRIMFunc, 13172, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                   \
    X(UPPERFunc, 13173, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                  \
    X(VALUEFunc, 13174, CCFunc, 6, RULE(1, 1, kNone, 0), nullptr, 1)                  \
    X(DATEFunc, 13175, CCFunc, 5, RULE(3, 3, kNone, 0), nullptr, 1)                   \
    X(DATEVALUEFunc, 13176, CCFunc, 5, RULE(1, 1, kNone, 0), nullptr, 1)              \
    X(DAYFunc, 13177, CCFunc, 5, RULE(1, 1, kNone, 0), nullptr, 1)                    \
    X(DAYS360Func, 13178, CCFunc, 5, RULE(2, 3, kNone, 0), nullptr, 1)                \
    X(EDATEFunc, 13179, CCFunc, 5, RULE(2, 2, kNone, 0), nullptr, 1)                  \
    X(EOMONTHFunc, 13180, CCFunc, 5, RULE(2, 2, kNone, 0), nullptr, 1)                \
    X(HOURFunc, 13181, CCFunc, 5, RULE(1, 1, kNone, 0), nullptr, 1)                   \
    X(MINUTEFunc, 13182, CCFunc, 5, RULE(1, 1, kNone, 0), nullptr, 1)                 \
    X(MONTHFunc, 13183, CCFunc, 5, RULE(1, 1, kNone, 0), nullptr, 1)                  \
    X(NETWORKDAYSFunc, 13184, CCFunc, 5, RULE(2, kMany, kFrom, 3), nullptr, 1)        \
    X(NOWFunc, 13185, CCFunc, 5, RULE(0, 0, kNone, 0), nullptr, 1)                    \
    X(SECONDFunc, 13186, CCFunc, 5, RULE(1, 1, kNone, 0), nullptr, 1)                 \
    X(TIMEFunc, 13187, CCFunc, 5, RULE(2, 3, kNone, 0), nullptr, 1)                   \
    X(TIMEVALUEFunc, 13188, CCFunc, 5, RULE(1, 1, kNone, 0), nullptr, 1)              \
    X(TODAYFunc, 13189, CCFunc, 5, RULE(0, 0, kNone, 0), nullptr, 1)                  \
    X(WEEKDAYFunc, 13190, CCFunc, 5, RULE(1, 1, kNone, 0), nullptr, 1)                \
    X(WEEKNUMFunc, 13191, CCFunc, 5, RULE(1, 2, kNone, 0), nullptr, 1)                \
    X(WORKDAYFunc, 13192, CCFunc, 5, RULE(2, kMany, kFrom, 3), nullptr, 1)            \
    X(YEARFunc, 13193, CCFunc, 5, RULE(1, 1, kNone, 0), nullptr, 1)                   \
    X(YEARFRACFunc, 13194, CCFunc, 5, RULE(2, 3, kNone, 0), nullptr, 1)               \
    X(ACCRINTMFunc, 13195, CCFunc, 7, RULE(3, 5, kNone, 0), nullptr, 1)               \
    X(COMPOUNDFunc, 13196, CCFunc, 7, RULE(3, 3, kNone, 0), nullptr, 1)               \
    X(COUPDAYBSFunc, 13197, CCFunc, 7, RULE(3, 4, kNone, 0), nullptr, 1)              \
    X(COUPDAYSFunc, 13198, CCFunc, 7, RULE(3, 4, kNone, 0), nullptr, 1)               \
    X(COUPDAYSNCFunc, 13199, CCFunc, 7, RULE(3, 4, kNone, 0), nullptr, 1)             \
    X(COUPNCDFunc, 13200, CCFunc, 7, RULE(3, 4, kNone, 0), nullptr, 1)                \
    X(COUPNUMFunc, 13201, CCFunc, 7, RULE(3, 4, kNone, 0), nullptr, 1)                \
    X(COUPPCDFunc, 13202, CCFunc, 7, RULE(3, 4, kNone, 0), nullptr, 1)                \
    X(DBFunc, 13203, CCFunc, 7, RULE(4, 5, kNone, 0), nullptr, 1)                     \
    X(DISCFunc, 13204, CCFunc, 7, RULE(4, 5, kNone, 0), nullptr, 1)                   \
    X(DOLLARDEFunc, 13205, CCFunc, 7, RULE(2, 2, kNone, 0), nullptr, 1)               \
    X(EFFECTFunc, 13206, CCFunc, 7, RULE(2, 2, kNone, 0), nullptr, 1)                 \
    X(FVFunc, 13207, CCFunc, 7, RULE(3, 3, kNone, 0), nullptr, 1)                     \
    X(INTRATEFunc, 13208, CCFunc, 7, RULE(4, 5, kNone, 0), nullptr, 1)                \
    X(IRRFunc, 13209, CCFunc, 7, RULE(1, kMany, kIrr, 0), nullptr, 1)                 \
    X(MIRRFunc, 13210, CCFunc, 7, RULE(3, kMany, kFrom, 3), nullptr, 1)               \
    X(NOMINALFunc, 13211, CCFunc, 7, RULE(2, 2, kNone, 0), nullptr, 1)                \
    X(NPVFunc, 13212, CCFunc, 7, RULE(2, kMany, kAllBut, 1), nullptr, 1)              \
    X(PMTFunc, 13213, CCFunc, 7, RULE(3, 3, kNone, 0), nullptr, 1)                    \
    X(PRICEFunc, 13214, CCFunc, 7, RULE(6, 7, kNone, 0), nullptr, 1)                  \
    X(PRICEDISCFunc, 13215, CCFunc, 7, RULE(4, 5, kNone, 0), nullptr, 1)              \
    X(PRICEMATFunc, 13216, CCFunc, 7, RULE(5, 6, kNone, 0), nullptr, 1)               \
    X(PVFunc, 13217, CCFunc, 7, RULE(3, 3, kNone, 0), nullptr, 1)                     \
    X(RECEIVEDFunc, 13218, CCFunc, 7, RULE(4, 5, kNone, 0), nullptr, 1)               \
    X(SYDFunc, 13219, CCFunc, 7, RULE(4, 4, kOnly, 4), nullptr, 0)                    \
    X(TBILLEQFunc, 13220, CCFunc, 7, RULE(3, 3, kNone, 0), nullptr, 0)                \
    X(TBILLPRICEFunc, 13221, CCFunc, 7, RULE(3, 3, kNone, 0), nullptr, 1)             \
    X(TBILLYIELDFunc, 13222, CCFunc, 7, RULE(3, 3, kNone, 0), nullptr, 1)             \
    X(ANDFunc, 13223, CCFunc, 3, RULE(0, kMany, kAny, 0), EvalAnd, 1)                 \
    X(IFFunc, 13224, CCChooseFunc, 3, RULE(1, kMany, kAllBut, 1), nullptr, 1)         \
    X(NOTFunc, 13225, CCFunc, 3, RULE(1, 1, kNone, 0), EvalNot, 1)                    \
    X(ORFunc, 13226, CCFunc, 3, RULE(0, kMany, kAny, 0), EvalOr, 1)                   \
    X(COUNTBLANKFunc, 13227, CCFunc, 9, RULE(0, kMany, kAny, 0), nullptr, 1)          \
    X(ISBLANKFunc, 13228, CCFunc, 9, RULE(1, 1, kNone, 0), nullptr, 1)                \
    X(ISERRFunc, 13229, CCFunc, 9, RULE(0, kMany, kAny, 0), nullptr, 1)               \
    X(ISERRORFunc, 13230, CCFunc, 9, RULE(1, 1, kNone, 0), nullptr, 1)                \
    X(ISEVENFunc, 13231, CCFunc, 9, RULE(1, 1, kNone, 0), nullptr, 1)                 \
    X(ISNUMBERFunc, 13232, CCFunc, 9, RULE(1, 1, kNone, 0), nullptr, 1)               \
    X(ISODDFunc, 13233, CCFunc, 9, RULE(1, 1, kNone, 0), nullptr, 1)                  \
    X(ISREFFunc, 13234, CCFunc, 9, RULE(1, 1, kAny, 0), nullptr, 1)                   \
    X(ISTEXTFunc, 13235, CCFunc, 9, RULE(1, 1, kNone, 0), nullptr, 1)                 \
    X(ADDRESSFunc, 13236, CCFunc, 8, RULE(2, 4, kNone, 0), nullptr, 1)                \
    X(AREASFunc, 13237, CCFunc, 8, RULE(0, kMany, kAny, 0), nullptr, 1)               \
    X(CHOOSEFunc, 13238, CCChooseFunc, 8, RULE(2, kMany, kAllBut, 1), nullptr, 1)     \
    X(COLUMNSFunc, 13239, CCFunc, 8, RULE(1, 1, kAny, 0), nullptr, 1)                 \
    X(FINDFunc, 13240, CCFunc, 8, RULE(2, kMany, kAllBut, 1), nullptr, 1)             \
    X(INDEXFunc, 13241, CCFunc, 8, RULE(2, kMany, kAllBut, 1), nullptr, 1)            \
    X(LOOKUPFunc, 13242, CCFunc, 8, RULE(3, kMany, kAllBut, 1), nullptr, 1)           \
    X(ROWSFunc, 13243, CCFunc, 8, RULE(1, 1, kAny, 0), nullptr, 1)                    \
    X(YIELDFunc, 13244, CCFunc, 7, RULE(6, 7, kNone, 0), nullptr, 0)                  \
    X(REMOTEFunc, 13245, CCRemoteFunc, 10, RULE(2, 2, kNone, 0), nullptr, 1)          \
    X(CREATEDATEFunc, 13246, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)    \
    X(EDITTIMEFunc, 13247, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(PRINTDATEFunc, 13248, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)     \
    X(SAVEDATEFunc, 13249, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(AUTHORFunc, 13250, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)        \
    X(COMMENTSFunc, 13251, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(FILENAMEFunc, 13252, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(FILESIZEFunc, 13253, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(KEYWORDSFunc, 13254, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(NUMCHARSFunc, 13255, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(NUMPAGESFunc, 13256, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(NUMWORDSFunc, 13257, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(SUBJECTFunc, 13258, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)       \
    X(TITLEFunc, 13259, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)         \
    X(REVNUMFunc, 13260, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)        \
    X(PAGEFunc, 13261, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)          \
    X(MERGERECFunc, 13262, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)      \
    X(MERGECOUNTFunc, 13263, CCDocumentFunc, 11, RULE(0, 0, kNone, 0), nullptr, 1)    \
    X(DBGETFunc, 13264, CCRemoteFunc, 10, RULE(2, 4, kNone, 0), nullptr, 1)           \
    X(DBSQLFunc, 13265, CCRemoteFunc, 10, RULE(2, 4, kNone, 0), nullptr, 1)           \
    X(DBFIELDCOUNTFunc, 13266, CCRemoteFunc, 10, RULE(2, 2, kNone, 0), nullptr, 1)    \
    X(DBFIELDNAMEFunc, 13267, CCRemoteFunc, 10, RULE(3, 3, kNone, 0), nullptr, 1)     \
    X(DBTABLECOUNTFunc, 13268, CCRemoteFunc, 10, RULE(1, 1, kNone, 0), nullptr, 1)    \
    X(DBTABLENAMEFunc, 13269, CCRemoteFunc, 10, RULE(2, 2, kNone, 0), nullptr, 1)     \
    X(DBQUERYCOUNTFunc, 13270, CCRemoteFunc, 10, RULE(1, 1, kNone, 0), nullptr, 1)    \
    X(DBQUERYNAMEFunc, 13271, CCRemoteFunc, 10, RULE(2, 2, kNone, 0), nullptr, 1)     \
    X(DBRELATIONCOUNTFunc, 13272, CCRemoteFunc, 10, RULE(1, 1, kNone, 0), nullptr, 1) \
    X(DBRELATIONNAMEFunc, 13273, CCRemoteFunc, 10, RULE(2, 2, kNone, 0), nullptr, 1)  \
    X(COLUMNFunc, 13274, CCDocumentFunc, 8, RULE(0, kMany, kAny, 0), nullptr, 1)      \
    X(ROWFunc, 13275, CCDocumentFunc, 8, RULE(0, kMany, kAny, 0), nullptr, 1)         \
    X(TAXBANDFunc, 13276, CCFunc, 7, RULE(3, 3, kTaxBand, 0), nullptr, 1)             \
    X(DBFILTERFunc, 13277, CCRemoteFunc, 10, RULE(3, 5, kNone, 0), nullptr, 1)        \
    X(DBSORTFunc, 13278, CCRemoteFunc, 10, RULE(3, 5, kNone, 0), nullptr, 1)          \
    X(DBFILTERSORTFunc, 13279, CCRemoteFunc, 10, RULE(4, 6, kNone, 0), nullptr, 1)    \
    X(DBSQLFILTERFunc, 13280, CCRemoteFunc, 10, RULE(3, 5, kNone, 0), nullptr, 1)     \
    X(DBSQLSORTFunc, 13281, CCRemoteFunc, 10, RULE(3, 5, kNone, 0), nullptr, 1)       \
    X(DBSQLFILTERSORTFunc, 13282, CCRemoteFunc, 10, RULE(4, 6, kNone, 0), nullptr, 1) \
    X(SSGETFunc, 13283, CCRemoteFunc, 10, RULE(2, 2, kNone, 0), nullptr, 1)           \
    X(WPGETFunc, 13284, CCRemoteFunc, 10, RULE(2, 2, kNone, 0), nullptr, 1)           \
    X(FINDEXFunc, 13285, CCFunc, 8, RULE(2, kMany, kAllBut, 1), nullptr, 1)           \
    X(LOOKUPEXFunc, 13286, CCFunc, 8, RULE(3, 3, kAllBut, 1), nullptr, 1)             \
    X(CONCATFunc, 13287, CCFunc, 6, RULE(0, kMany, kAny, 0), nullptr, 1)              \
    X(HYPERLINKFunc, 13288, CCFunc, 10, RULE(1, 2, kNone, 0), nullptr, 1)             \
    X(SUMIFFunc, 13289, CCFunc, 1, RULE(2, kMany, kAllBut, 2), EvalSUMIF, 1)          \
    X(COUNTIFFunc, 13290, CCFunc, 4, RULE(2, kMany, kAllButLast, 0), nullptr, 1)      \
    X(INDIRECTFunc, 13291, CCRefFunc, 8, RULE(1, 2, kNone, 0), nullptr, 1)            \
    X(OFFSETFunc, 13292, CCRefFunc, 8, RULE(3, kMany, kAny, 0), nullptr, 1)           \
    X(VLOOKUPFunc, 13293, CCFunc, 8, RULE(3, kMany, kAllBut, 1), nullptr, 1)          \
    X(HLOOKUPFunc, 13294, CCFunc, 8, RULE(3, kMany, kAllBut, 1), nullptr, 1)          \
    X(LIKEFunc, 13295, CCFunc, 6, RULE(2, kMany, kFrom, 3), nullptr, 1)               \
    X(COUNTRYFunc, 13296, CCFunc, 9, RULE(0, 0, kNone, 0), nullptr, 1)                \
    X(TRUNCFunc, 13297, CCFunc, 1, RULE(2, 2, kNone, 0), EvalTRUNC, 1)                \
    X(CEILFunc, 13298, CCFunc, 1, RULE(2, kMany, kAny, 0), EvalCEILING, 1)            \
    X(FLOORFunc, 13299, CCFunc, 1, RULE(2, kMany, kAny, 0), EvalFLOOR, 1)             \
    X(ROUNDNFunc, 13300, CCFunc, 1, RULE(2, 2, kNone, 0), EvalROUNDN, 1)              \
    X(NAFunc, 13301, CCFunc, 9, RULE(0, 0, kNone, 0), nullptr, 1)                     \
    X(ISNAFunc, 13302, CCFunc, 9, RULE(1, 1, kNone, 0), nullptr, 1)                   \
    X(ISLOGICALFunc, 13303, CCFunc, 9, RULE(1, 1, kNone, 0), nullptr, 1)              \
    X(ISNONTEXTFunc, 13304, CCFunc, 9, RULE(1, 1, kNone, 0), nullptr, 1)              \
    X(MATCHFunc, 13305, CCFunc, 8, RULE(2, 3, kAny, 0), nullptr, 1)

#define OSTREL_DEFINE_ENTRY(object, id, cls, category, check, eval, listed) cls object;
OSTREL_BUILTIN_FUNCTIONS(OSTREL_DEFINE_ENTRY)
#undef OSTREL_DEFINE_ENTRY

CCFunc OrFunc, AndFunc, NotFunc, GTFunc, GEFunc, LTFunc, LEFunc, EQFunc, NEFunc, ADDFunc, SUBFunc,
    MULFunc, DIVFunc, PowerFunc, PercentFunc, UnPlusFunc, UnMinusFunc;
CCRefFunc RANGEFunc, SheetRangeFunc, FULLREFFunc;

namespace {

struct OperatorRow {
    CCFunc* entry;
    const char16_t* text;
    unsigned char precedence;
    unsigned char kind;
    CheckRoutine check;
    EvalRoutine eval;
};

struct FunctionRow {
    CCFunc* entry;
    unsigned id;
    unsigned char category;
    CheckRoutine check;
    EvalRoutine eval;
    bool listed;
};

// The binary operators share the checks of their function twins.
const OperatorRow kOperators[] = {
    {&OrFunc, u"|", 10, FUNC_INFIX, RULE(0, kMany, kAny, 0), EvalOr},
    {&AndFunc, u"&", 20, FUNC_INFIX, RULE(0, kMany, kAny, 0), EvalAnd},
    {&NotFunc, u"~", 30, FUNC_PREFIX, RULE(1, 1, kNone, 0), EvalNot},
    {&GTFunc, u">", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalGT},
    {&GEFunc, u">=", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalGE},
    {&LTFunc, u"<", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalLT},
    {&LEFunc, u"<=", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalLE},
    {&EQFunc, u"=", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalEQ},
    {&NEFunc, u"<>", 40, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalNE},
    {&ADDFunc, u"+", 50, FUNC_INFIX, RULE(1, kMany, kAny, 0), EvalAdd},
    {&SUBFunc, u"-", 50, FUNC_INFIX, RULE(1, kMany, kAny, 0), EvalSub},
    {&MULFunc, u"*", 60, FUNC_INFIX, RULE(0, kMany, kAny, 0), EvalMul},
    {&DIVFunc, u"/", 60, FUNC_INFIX, RULE(1, kMany, kAny, 0), EvalDiv},
    {&PowerFunc, u"^", 70, FUNC_INFIX, RULE(2, kMany, kAny, 0), EvalPower},
    {&PercentFunc, u"%", 80, FUNC_POSTFIX, RULE(1, 1, kNone, 0), EvalPercent},
    {&UnPlusFunc, u"+", 90, FUNC_PREFIX, RULE(1, 1, kNone, 0), EvalUnPlus},
    {&UnMinusFunc, u"-", 90, FUNC_PREFIX, RULE(1, 1, kNone, 0), EvalUnMinus},
    {&RANGEFunc, u"..", 100, FUNC_INFIX, RULE(2, 2, kAny, 0), EvalRange},
    {&SheetRangeFunc, u":", 100, FUNC_INFIX, RULE(1, 2, kAny, 0), EvalSheetRange},
    {&FULLREFFunc, u"!", 100, FUNC_INFIX, RULE(2, 2, kAny, 0), EvalFullRef},
};

const FunctionRow kFunctions[] = {
#define OSTREL_FUNCTION_ROW(object, id, cls, category, check, eval, listed) \
    {&object, id, category, check, eval, listed != 0},
    OSTREL_BUILTIN_FUNCTIONS(OSTREL_FUNCTION_ROW)
#undef OSTREL_FUNCTION_ROW
};

constexpr size_t kOperatorCount = std::size(kOperators);
constexpr size_t kFunctionCount = std::size(kFunctions);
static_assert(kOperatorCount == 20 && kFunctionCount == 262);

}  // namespace

size_t SetUpBuiltinEntries(CCFunc** listed, size_t capacity) {
    size_t count = 0;
    auto list = [&](CCFunc* entry) {
        if (count < capacity) listed[count++] = entry;
    };
    for (const OperatorRow& row : kOperators) {
        row.entry->Init(row.text, row.precedence, row.kind, 0, row.check, row.eval);
        list(row.entry);
    }
    // The added routines of choice, remote and document entries stay null until their
    // families exist; the base Init leaves them so.
    for (const FunctionRow& row : kFunctions) {
        row.entry->Init(row.id, 100, FUNC_FUNCTION, row.category, row.check, row.eval);
        if (row.listed) list(row.entry);
    }
    return count;
}

size_t BuiltinEntryCount() {
    return kOperatorCount + kFunctionCount;
}

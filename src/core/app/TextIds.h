#pragma once

// Ids of the program's texts. Every user-visible text is fetched through
// loadText(id), so a language file can replace it; the code names each id
// it uses here instead of writing the number.
namespace dorvane::text {

// Program, windows and progress
constexpr int AboutMenuItem = 101;
constexpr int ConfirmExit = 102;
constexpr int ReadingData = 103;
constexpr int SavingData = 104;
constexpr int SaveBmpFailed = 105;
constexpr int SaveFileFailed = 106;
constexpr int BuildingModel = 138;
constexpr int RestartForLanguage = 143;
constexpr int AboutTitle = 166;
constexpr int ProgramTitle = 167;
constexpr int FrameNumberLabel = 171;
constexpr int ModifyingData = 201;

// Graphics panel
constexpr int MaximumLevelLabel = 108;
constexpr int MinimumLevelLabel = 109;
constexpr int ColourCountLabel = 110;
constexpr int ShowScale = 237;
constexpr int GreyOrColour = 238;
constexpr int RestoreDefaults = 239;
constexpr int GraphicsControl = 351;

// Frame property panel
constexpr int PipeNameLabel = 111;
constexpr int TitleLabel = 112;
constexpr int CableLengthLabel = 113;
constexpr int TiltLabel = 114;
constexpr int RollLabel = 115;
constexpr int DetectRadiusLabel = 116;
constexpr int PipeRadiusLabel = 117;
constexpr int ErrorRateLabel = 118;
constexpr int NotesLabel = 119;
constexpr int CircleToolLabel = 120;
constexpr int RulerLabel = 121;
constexpr int ExcludeFromSediment = 125;
constexpr int DefectFrameFlag = 126;
constexpr int ReportShotFlag = 127;
constexpr int ToolNote = 128;
constexpr int ApplyToPreviousFrames = 195;
constexpr int ApplyToFollowingFrames = 196;
constexpr int ApplyToAllFrames = 198;
constexpr int ConfirmApplyPipeRadius = 199;
constexpr int ConfirmApplyErrorRate = 200;
constexpr int ConfirmApplyCircleBefore = 203;
constexpr int ConfirmApplyCircleAfter = 204;
constexpr int ConfirmApplyAttribute = 205;
constexpr int DistanceLabel = 354;
constexpr int DeleteFrame = 357;
constexpr int ConfirmDeleteFrame = 358;

// Overlay and sediment
constexpr int DefectFrameLabel = 130;
constexpr int SedimentAmountLabel = 131;
constexpr int SedimentDepthLabel = 132;
constexpr int FrameHeaderError = 183;
constexpr int SedimentChartTitle = 317;
constexpr int PipeLengthAxis = 318;
constexpr int SedimentDepthAxis = 319;
constexpr int PipeTopLine = 322;
constexpr int AverageDepth = 323;

// The survey and its files
constexpr int DataChangedSave = 134;
constexpr int OpenFileFailed = 176;
constexpr int IllegalFileFormat = 177;
constexpr int ImgFileError = 178;
constexpr int FileDataError = 179;
constexpr int AnimationFrameError = 180;
constexpr int ReadFileDataError = 181;
constexpr int CreateFileFailed = 186;
constexpr int CannotSaveOverOpenFile = 379;
constexpr int NoAnimationFileBehindData = 380;
constexpr int OnlyHeaderLeft = 381;
constexpr int ReadOnlyFile = 382;
constexpr int UnfinishedSaveTakenBack = 384;
constexpr int UnfinishedSaveLeft = 385;
constexpr int HelpNotOpened = 388;
constexpr int NoRecentSurveys = 389;
constexpr int ProgramVersion = 390;

// 3D view
constexpr int CreateDeviceFailed = 148;
constexpr int CullModeFailed = 149;
constexpr int DepthBufferFailed = 150;
constexpr int LightFailed = 151;
constexpr int View3dInitFailed = 152;
constexpr int RotateControl = 304;
constexpr int PanControl = 305;
constexpr int ZoomControl = 306;
constexpr int ViewpointControl = 307;
constexpr int CentreViewpoint = 309;
constexpr int OutsideViewpoint = 310;
constexpr int InsideViewpoint = 311;
constexpr int DistantViewpoint = 312;

// Acquisition and import
constexpr int ImportImgTitle = 160;
constexpr int AcquisitionTitle = 161;
constexpr int StartAcquisition = 245;
constexpr int StopAcquisition = 246;
constexpr int FrameViewPage = 248;
constexpr int PipeAttributesPage = 249;
constexpr int FileListPage = 250;
constexpr int SaveAnimation = 252;
constexpr int ImportFiles = 253;
constexpr int MoveUp = 256;
constexpr int MoveDown = 257;
constexpr int RemoveFromList = 258;
constexpr int DetectRadiusShort = 331;
constexpr int PipeRadiusShort = 332;
constexpr int PressureLabel = 333;
constexpr int TemperatureLabel = 334;
constexpr int VoltageLabel = 335;
constexpr int EnterValidPipeRadius = 337;
constexpr int MoveFileForwards = 352;
constexpr int MoveFileBackwards = 353;
constexpr int PulseWidth = 355;
constexpr int SaveInterval = 356;
constexpr int ProbeStatusFailed = 362;
constexpr int ProbeReady = 363;
constexpr int ProbeNotReady = 364;
constexpr int DeviceLibraryMissing = 365;
constexpr int WaitingForDevice = 366;
constexpr int DownloadingFirmware = 367;
constexpr int FirmwareDownloadFailed = 368;
constexpr int FirmwareDownloaded = 369;
constexpr int ReadingHardwareData = 370;
constexpr int SendCommandFailed = 371;
constexpr int DeviceConnectedVersion = 372;
constexpr int StartProbeFailed = 373;
constexpr int PipeCommandFailed = 374;
constexpr int SetDetectRadiusFailed = 375;
constexpr int SetPulseWidthFailed = 376;
constexpr int ResetDistance = 377;
constexpr int ResetCommandFailed = 378;
constexpr int SimulatedProbe = 383;
constexpr int NothingRecorded = 391;
constexpr int RecordingNotCutBack = 392;
constexpr int EmptyRecordingLeft = 393;
constexpr int BeingChangedElsewhere = 394;
constexpr int ChangedElsewhere = 395;
constexpr int SaveJournalDamaged = 396;
constexpr int SaveJournalNameTaken = 397;
constexpr int StaleTemporaryRemoved = 398;
constexpr int NoGradedDefects = 400;
constexpr int CableLengthAxis = 421;
constexpr int CapacityLossSeries = 422;
constexpr int DepositShareSeries = 423;
constexpr int DeformationSeries = 424;
constexpr int GradeOfDefect = 426;
constexpr int AssessmentView = 427;
constexpr int AssessedLength = 428;
constexpr int SedimentVolume = 429;
constexpr int MeanCapacityLoss = 430;
constexpr int LargestCapacityLoss = 431;
constexpr int ValueAtFrame = 432;
constexpr int WorstGradeColumn = 433;
constexpr int LengthPerGrade = 434;
constexpr int DefectCodeColumn = 435;
constexpr int DefectNameColumn = 436;
constexpr int GradeColumn = 437;
constexpr int ScoreColumn = 438;
constexpr int FromColumn = 439;
constexpr int ToColumn = 440;
constexpr int LengthColumn = 441;
constexpr int WorstValueColumn = 442;
constexpr int FramesColumn = 443;
constexpr int GradingTableRefused = 444;
constexpr int GradingTableLabel = 445;
constexpr int ShippedGradingTable = 446;
constexpr int ChooseGradingTable = 447;
constexpr int DefaultGradingTable = 448;
constexpr int ChooseGradingTableTitle = 449;
constexpr int FrameAtLength = 450;
constexpr int NotAssessed = 451;
constexpr int GradingTableKept = 452;
constexpr int OpenSurveyTitle = 401;
constexpr int SaveSurveyTitle = 402;
constexpr int ExportImageTitle = 403;
constexpr int ExportVideoTitle = 404;
constexpr int ExportReportTitle = 405;
constexpr int ChooseImgFilesTitle = 406;
constexpr int SurveyFilesFilter = 407;
constexpr int SurveyFilter = 408;
constexpr int ImgFilter = 409;
constexpr int AllFilesFilter = 410;
constexpr int BmpFilter = 411;
constexpr int AviFilter = 412;
constexpr int DocFilter = 413;
constexpr int DocxFilter = 414;
constexpr int PdfFilter = 415;
constexpr int JsonFilter = 416;
constexpr int LibraryRebuilt = 453;
constexpr int LibraryUnavailable = 454;
constexpr int LibraryView = 455;
constexpr int AddLibraryFolder = 456;
constexpr int RemoveLibraryFolder = 457;
constexpr int RescanLibrary = 458;
constexpr int ReportSelected = 459;
constexpr int LibrarySearchHint = 460;
constexpr int AllGrades = 461;
constexpr int GradeAtLeast = 462;
constexpr int CancelWork = 463;
constexpr int PlaceColumn = 464;
constexpr int WellsColumn = 465;
constexpr int FrameCountColumn = 466;
constexpr int AverageSedimentColumn = 467;
constexpr int MaxDepositColumn = 468;
constexpr int DepositGradeColumn = 469;
constexpr int DeformationGradeColumn = 470;
constexpr int VolumeColumn = 471;
constexpr int MeanLossColumn = 472;
constexpr int MaxLossColumn = 473;
constexpr int FileColumn = 474;
constexpr int ScanningLibrary = 475;
constexpr int LibraryCount = 476;
constexpr int ChooseLibraryFolder = 477;
constexpr int ChooseReportFolder = 478;
constexpr int BatchReportDone = 479;
constexpr int BatchToolMissing = 480;
constexpr int WritingReports = 481;
constexpr int UnreadableSurvey = 482;
constexpr int BatchReportCancelled = 483;
constexpr int BatchReportFailures = 484;
constexpr int SavedTo = 485;
constexpr int NoViewer = 486;
constexpr int FixedCameraTip = 487;
constexpr int TrailingPartialFrame = 488;
constexpr int RecordingInto = 489;
constexpr int RecordingSaved = 490;
constexpr int SurveyDateLabel = 491;
constexpr int CompanyLabel = 492;
constexpr int ReportOnlyTip = 493;
constexpr int NoReportFrames = 494;
constexpr int ReportFrameCaption = 495;

// Exports
constexpr int ExportingVideo = 188;
constexpr int AviError = 189;
constexpr int AskVideoTexts = 190;
constexpr int ExportingReport = 277;
constexpr int OleInitFailed = 278;
constexpr int TemplateFailed = 279;
constexpr int WordMissing = 280;
constexpr int ReportError = 286;

// Settings panel
constexpr int ShowTitle = 192;
constexpr int ShowNotes = 193;
constexpr int TiltAlarm = 194;
constexpr int LanguageLabel = 144;
constexpr int PlayRateLabel = 145;
constexpr int SaveSettings = 265;

// Pipe attributes panel
constexpr int PlaceLabel = 292;
constexpr int StartWellLabel = 293;
constexpr int EndWellLabel = 294;

// Toolbar and playback
constexpr int AcquireData = 208;
constexpr int ImportData = 209;
constexpr int OpenAnimation = 210;
constexpr int SaveDataAs = 211;
constexpr int ViewScreenshot = 212;
constexpr int ExportVideo = 213;
constexpr int SaveChanges = 214;
constexpr int DiscardChanges = 215;
constexpr int GenerateReport = 216;
constexpr int SaveChangesTip = 217;
constexpr int AnimationView = 219;
constexpr int StrokeView = 220;
constexpr int View3d = 221;
constexpr int CurrentProperties = 222;
constexpr int SystemSettings = 223;
constexpr int PipeAttributes = 224;
constexpr int HelpTopics = 225;
constexpr int PlayBackwardsTip = 228;
constexpr int PauseTip = 229;
constexpr int PlayForwardsTip = 230;
constexpr int StepBackKeyTip = 386;
constexpr int StepForwardKeyTip = 387;
constexpr int SedimentCurve = 241;

} // namespace dorvane::text

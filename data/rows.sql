-- The rows delivered with the program: the event types the program recognises and one settings
-- row with the defaults of a first start.

INSERT INTO Events (Events_Id, Events_EventName) VALUES (1, 'Birthday');
INSERT INTO Events (Events_Id, Events_EventName) VALUES (2, 'Anniversary');
INSERT INTO Events (Events_Id, Events_EventName) VALUES (3, 'Holiday');
INSERT INTO Events (Events_Id, Events_EventName) VALUES (4, 'Event');
INSERT INTO Events (Events_Id, Events_EventName) VALUES (5, 'Reminder');

INSERT INTO Settings (Settings_Id, Settings_DefaultAlertDays, Settings_DefaultEvent,
                      Settings_FormLeft, Settings_FormTop, Settings_LastRecordViewed,
                      Settings_ShowEventsAtStart, Settings_StartInTray, Settings_Tab,
                      Settings_DefaultDisplayTime, Settings_TimerOn, Settings_SoundOn,
                      Settings_StartDayOfWeek)
VALUES (1, 3, (SELECT Events_Id FROM Events WHERE Events_EventName = 'Birthday'), 0, 0, 0,
        1, 0, 0, '1899-12-30 09:00:00', 1, 1, 0);
